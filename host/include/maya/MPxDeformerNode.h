#ifndef _MPxDeformerNode
#define _MPxDeformerNode
//
// MPxDeformerNode: the base of deformers. The host's own compute of outputGeom[i] copies
// input[i].inputGeometry and hands its points to deform().
//
#if defined __cplusplus

#include <maya/MPxNode.h>
#include <maya/MMatrix.h>

class MItGeometry;
class MDagModifier;
class MSelectionList;

class OPENMAYAANIM_EXPORT MPxDeformerNode : public MPxNode
{
public:
    MPxDeformerNode();
    virtual ~MPxDeformerNode();
    virtual MPxNode::Type type() const;

    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& mat, unsigned int multiIndex);
    virtual MObject& accessoryAttribute() const;
    virtual MStatus accessoryNodeSetup(MDagModifier& cmd);
    virtual void setModifiedCallback(MSelectionList& list, bool listAdded);

    float weightValue(MDataBlock& mblock, unsigned int multiIndex, unsigned int wtIndex);
    void setUseExistingConnectionWhenSetEditing(bool state);

    static const char* className();

    static MObject input;
    static MObject inputGeom;
    static MObject groupId;
    static MObject outputGeom;
    static MObject envelope;
    static MObject weightList;
    static MObject weights;
};

#endif /* __cplusplus */
#endif /* _MPxDeformerNode */
