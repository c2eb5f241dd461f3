#ifndef _MDGModifier
#define _MDGModifier
//
// MDGModifier: queues graph edits (node creation, connections) to apply with doIt and
// revert with undoIt.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class MPlug;
namespace hx {
class Access;
class ModifierState;
}  // namespace hx

class OPENMAYA_EXPORT MDGModifier
{
public:
    MDGModifier();
    virtual ~MDGModifier();

    MObject createNode(const MTypeId& typeId, MStatus* ReturnStatus = NULL);
    MObject createNode(const MString& type, MStatus* ReturnStatus = NULL);
    MStatus deleteNode(const MObject& node);
    MStatus renameNode(const MObject& node, const MString& newName);
    MStatus connect(const MObject& sourceNode, const MObject& sourceAttr, const MObject& destNode,
                    const MObject& destAttr);
    MStatus connect(const MPlug& source, const MPlug& dest);
    MStatus disconnect(const MObject& sourceNode, const MObject& sourceAttr, const MObject& destNode,
                       const MObject& destAttr);
    MStatus disconnect(const MPlug& source, const MPlug& dest);
    MStatus doIt();
    MStatus undoIt();

protected:
    friend class hx::Access;
    hx::ModifierState* mState;

private:
    MDGModifier(const MDGModifier&);
    MDGModifier& operator=(const MDGModifier&);
};

#endif /* __cplusplus */
#endif /* _MDGModifier */
