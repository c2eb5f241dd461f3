#ifndef _MDagPath
#define _MDagPath
//
// MDagPath: the path from the world to one DAG node.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MMatrix.h>

namespace hx {
class Access;
}

class OPENMAYA_EXPORT MDagPath
{
public:
    MDagPath();
    MDagPath(const MDagPath& src);
    virtual ~MDagPath();
    MDagPath& operator=(const MDagPath& src);
    bool operator==(const MDagPath& other) const;

    static MStatus getAPathTo(const MObject& node, MDagPath& path);

    bool isValid(MStatus* ReturnStatus = NULL) const;
    MObject node(MStatus* ReturnStatus = NULL) const;
    MObject transform(MStatus* ReturnStatus = NULL) const;
    unsigned int length(MStatus* ReturnStatus = NULL) const;
    MMatrix inclusiveMatrix(MStatus* ReturnStatus = NULL) const;
    MMatrix exclusiveMatrix(MStatus* ReturnStatus = NULL) const;
    MString fullPathName(MStatus* ReturnStatus = NULL) const;
    MString partialPathName(MStatus* ReturnStatus = NULL) const;

private:
    friend class hx::Access;
    MObject mNode;
};

#endif /* __cplusplus */
#endif /* _MDagPath */
