#ifndef _MPxNode
#define _MPxNode
//
// MPxNode: the base of node types a plug-in defines.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MTypeId.h>
#include <maya/MString.h>
#include <maya/MPlug.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MDGContext.h>

namespace hx {
class Access;
class Node;
}  // namespace hx

class OPENMAYA_EXPORT MPxNode
{
public:
    enum Type {
        kDependNode = 0,
        kLocatorNode = 1,
        kDeformerNode = 2,
        kManipContainer = 3,
        kSurfaceShape = 4,
        kFieldNode = 5,
        kEmitterNode = 6,
        kSpringNode = 7,
        kIkSolverNode = 8,
        kHardwareShader = 9,
        kHwShaderNode = 10,
        kTransformNode = 11,
        kObjectSet = 12,
        kFluidEmitterNode = 13,
        kImagePlaneNode = 14,
        kParticleAttributeMapperNode = 15,
        kCameraSetNode = 16,
        kConstraintNode = 17,
        kManipulatorNode = 18,
        kMotionPathNode = 19,
        kClientDeviceNode = 20,
        kThreadedDeviceNode = 21,
        kLast = 22
    };

    MPxNode();
    virtual ~MPxNode();
    virtual void postConstructor();
    virtual MStatus compute(const MPlug& plug, MDataBlock& dataBlock);
    virtual Type type() const;

    MObject thisMObject() const;
    MTypeId typeId() const;
    MString typeName() const;
    MString name() const;

    static MStatus addAttribute(const MObject& attr);
    static MStatus attributeAffects(const MObject& whenChanges, const MObject& isAffected);
    static MStatus inheritAttributesFrom(const MString& parentClassName);

    static MObject message;
    static MObject isHistoricallyInteresting;
    static MObject caching;
    static MObject state;

protected:
    MDataBlock forceCache(MDGContext& ctx = MDGContext::fsNormal);
    void setMPSafe(bool flag);

private:
    friend class hx::Access;
    MPxNode(const MPxNode&);
    MPxNode& operator=(const MPxNode&);

    hx::Node* mNode;  // the host node this instance belongs to
};

#endif /* __cplusplus */
#endif /* _MPxNode */
