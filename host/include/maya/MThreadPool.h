#ifndef _MThreadPool
#define _MThreadPool
//
// MThreadPool: the host's pool of threads, lent to plug-ins for work split into tasks.
//
// A plug-in takes the pool with init() and gives it back with release() (the pool counts
// its users). newParallelRegion calls the callback on the calling thread with a root task;
// the callback creates tasks under that root with createTask and runs them with
// executeAndJoin, which returns once every one of them has returned. Tasks run on the
// pool's threads and on the calling thread, in no particular order: each must touch only
// what is its own, or what no task writes.
//
#if defined __cplusplus

#include <maya/MStatus.h>
#include <maya/MTypes.h>

class OPENMAYA_EXPORT MThreadPool
{
public:
    static MStatus init();
    static MStatus newParallelRegion(MThreadCallbackFunc func, void* data);
    static MStatus createTask(MThreadFunc func, void* data, MThreadRootTask* root);
    static void executeAndJoin(MThreadRootTask* root);
    static void release();
};

#endif /* __cplusplus */
#endif /* _MThreadPool */
