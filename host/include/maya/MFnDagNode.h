#ifndef _MFnDagNode
#define _MFnDagNode
//
// MFnDagNode: parents, children and paths of a DAG node.
//
#if defined __cplusplus

#include <maya/MFnDependencyNode.h>
#include <maya/MDagPath.h>

class OPENMAYA_EXPORT MFnDagNode : public MFnDependencyNode
{
public:
    MFnDagNode();
    MFnDagNode(MObject& object, MStatus* ret = NULL);
    MFnDagNode(const MObject& object, MStatus* ret = NULL);
    MFnDagNode(const MDagPath& object, MStatus* ret = NULL);
    virtual ~MFnDagNode();
    virtual MFn::Type type() const;
    static const char* className();

    unsigned int parentCount(MStatus* ReturnStatus = NULL) const;
    MObject parent(unsigned int i, MStatus* ReturnStatus = NULL) const;
    unsigned int childCount(MStatus* ReturnStatus = NULL) const;
    MObject child(unsigned int i, MStatus* ReturnStatus = NULL) const;
    MStatus getPath(MDagPath& path) const;
    MDagPath dagPath(MStatus* ReturnStatus = NULL) const;
    MString fullPathName(MStatus* ReturnStatus = NULL) const;
    bool isIntermediateObject(MStatus* ReturnStatus = NULL) const;

private:
    MFnDagNode(const MFnDagNode&);
    MFnDagNode& operator=(const MFnDagNode&);
    MFnDagNode* operator&() const;
};

#endif /* __cplusplus */
#endif /* _MFnDagNode */
