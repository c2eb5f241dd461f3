#ifndef _MTypes
#define _MTypes
//
// Basic types, version and export macros shared by every header of the plug-in API.
//
#if defined __cplusplus

#define MAYA_API_VERSION 201217

#ifndef NULL
#define NULL 0L
#endif

#ifndef PLUGIN_EXPORT
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
#ifndef FND_EXPORT
#define FND_EXPORT __attribute__((visibility("default")))
#endif
#ifndef OPENMAYA_EXPORT
#define OPENMAYA_EXPORT __attribute__((visibility("default")))
#endif
#ifndef OPENMAYAUI_EXPORT
#define OPENMAYAUI_EXPORT __attribute__((visibility("default")))
#endif
#ifndef OPENMAYAANIM_EXPORT
#define OPENMAYAANIM_EXPORT __attribute__((visibility("default")))
#endif

// Labels used inside class bodies by the scripting wrappers; plain "public" here.
#define BEGIN_NO_SCRIPT_SUPPORT public
#define END_NO_SCRIPT_SUPPORT public

#if defined(__x86_64__) && !defined(MBits64_)
#define MBits64_
#endif

class MStatus;

typedef void* (*MCreatorFunction)();
typedef MStatus (*MInitializeFunction)();

// The thread pool's task and region functions (MThreadPool).
class MThreadRootTask;
typedef void* MThreadRetVal;
typedef MThreadRetVal (*MThreadFunc)(void*);
typedef void (*MThreadCallbackFunc)(void*, MThreadRootTask*);

typedef double double2[2];
typedef double double3[3];
typedef double double4[4];
typedef float float2[2];
typedef float float3[3];
typedef float float4[4];
typedef int int2[2];
typedef int int3[3];
typedef int int4[4];
typedef short short2[2];
typedef short short3[3];
typedef unsigned int uint;

// Coordinate spaces in which geometry can be read and written.
class OPENMAYA_EXPORT MSpace
{
public:
    enum Space {
        kInvalid = 0,
        kTransform = 1,
        kPreTransform = 2,
        kPostTransform = 3,
        kWorld = 4,
        kObject = kPreTransform,
        kLast = 5
    };
};

#endif /* __cplusplus */
#endif /* _MTypes */
