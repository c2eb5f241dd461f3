#ifndef _MDGContext
#define _MDGContext
//
// MDGContext: the context (normal, or at a given time) in which the graph is evaluated.
// This host evaluates in the normal context only.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MTime.h>

class OPENMAYA_EXPORT MDGContext
{
public:
    MDGContext();
    MDGContext(const MTime& when);
    MDGContext(const MDGContext& in);
    virtual ~MDGContext();
    MDGContext& operator=(const MDGContext& other);

    bool isNormal(MStatus* ReturnStatus = NULL) const;
    MStatus getTime(MTime& time) const;

    static MDGContext fsNormal;

private:
    MTime mTime;
    bool mNormal;
};

#endif /* __cplusplus */
#endif /* _MDGContext */
