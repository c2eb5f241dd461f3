//
// Misbehaving: a plug-in whose deformer and locator fail on request, so that tests can see
// what the host and the hxnoise tool make of a plug-in that returns a failure or throws.
//
// Types (names set by the build: DEFORMER_NAME and LOCATOR_NAME; the tool's tests build it
// as "hxNoise" and "noiseLocator" so that `hxnoise deform --plugin` takes it):
//   deformer  leaves points where they are; its "failure" attribute picks what goes wrong:
//               0 nothing                      1 deform returns kFailure
//               2 deform throws runtime_error  3 deform throws bad_alloc
//               4 deform throws an int         5 the curve's compute returns kFailure
//               6 the curve's compute throws   7 the locator's draw throws
//   locator   draws the deformer's curve, which its accessory set-up connects to it.
// Written against the host's public API only, in the host's C++98 dialect.
//
#include <maya/MDagModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MItGeometry.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MPxLocatorNode.h>

#include <new>
#include <stdexcept>

enum Failure {
    kNone,
    kDeformStatus,
    kDeformThrows,
    kDeformOutOfMemory,
    kDeformThrowsInt,
    kCurveStatus,
    kCurveThrows,
    kDrawThrows
};

// ---------------------------------------------------------------------------------------
class misbehavingLocator : public MPxLocatorNode
{
public:
    static void* creator() { return new misbehavingLocator; }
    static MStatus initialize();
    virtual void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style, M3dView::DisplayStatus status);
    virtual bool isBounded() const { return true; }
    virtual MBoundingBox boundingBox() const { return MBoundingBox(MPoint(-1, 0, -1), MPoint(1, 0, 1)); }

    static MTypeId id;
    static MObject curvePoints, drawFailure;
};

MTypeId misbehavingLocator::id(0x70402);
MObject misbehavingLocator::curvePoints, misbehavingLocator::drawFailure;

MStatus misbehavingLocator::initialize()
{
    MFnTypedAttribute tAttr;
    MFnVectorArrayData arrayData;
    MVectorArray empty;
    curvePoints = tAttr.create("curvePoints", "cp", MFnData::kVectorArray, arrayData.create(empty));
    addAttribute(curvePoints);
    MFnNumericAttribute nAttr;
    drawFailure = nAttr.create("drawFailure", "df", MFnNumericData::kInt, 0);
    nAttr.setStorable(false);
    addAttribute(drawFailure);
    return MS::kSuccess;
}

void misbehavingLocator::draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle, M3dView::DisplayStatus)
{
    MFnDependencyNode fn(thisMObject());
    MObject data;
    fn.findPlug(curvePoints).getValue(data);
    int failure = 0;
    fn.findPlug(drawFailure).getValue(failure);
    if (failure == kDrawThrows) throw std::runtime_error("the locator's draw broke on purpose");
    MVectorArray points = MFnVectorArrayData(data).array();
    view.beginGL();
    glBegin(GL_LINE_STRIP);
    for (unsigned int i = 0; i < points.length(); ++i)
        glVertex3f((float)points[i].x, (float)points[i].y, (float)points[i].z);
    glEnd();
    view.endGL();
}

// ---------------------------------------------------------------------------------------
class misbehavingDeformer : public MPxDeformerNode
{
public:
    static void* creator() { return new misbehavingDeformer; }
    static MStatus initialize();
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);
    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& m, unsigned int multiIndex);
    virtual MObject& accessoryAttribute() const { return deformSpace; }
    virtual MStatus accessoryNodeSetup(MDagModifier& cmd);

    static MTypeId id;
    static MObject deformSpace, failure, curve;
};

MTypeId misbehavingDeformer::id(0x70403);
MObject misbehavingDeformer::deformSpace, misbehavingDeformer::failure, misbehavingDeformer::curve;

MStatus misbehavingDeformer::initialize()
{
    MFnMatrixAttribute mAttr;
    deformSpace = mAttr.create("deformSpace", "dSp");
    mAttr.setStorable(false);
    addAttribute(deformSpace);
    MFnNumericAttribute nAttr;
    failure = nAttr.create("failure", "fai", MFnNumericData::kInt, 0);
    nAttr.setKeyable(true);
    nAttr.setMin(0.0);
    nAttr.setMax(7.0);
    addAttribute(failure);
    MFnTypedAttribute tAttr;
    MFnVectorArrayData arrayData;
    MVectorArray empty;
    curve = tAttr.create("curve", "crv", MFnData::kVectorArray, arrayData.create(empty));
    tAttr.setStorable(false);
    addAttribute(curve);
    attributeAffects(deformSpace, outputGeom);
    attributeAffects(failure, outputGeom);
    attributeAffects(failure, curve);
    return MS::kSuccess;
}

MStatus misbehavingDeformer::compute(const MPlug& plug, MDataBlock& block)
{
    if (plug != curve) return MS::kUnknownParameter;
    const int how = block.inputValue(failure).asInt();
    if (how == kCurveStatus) return MS::kFailure;
    if (how == kCurveThrows) throw std::runtime_error("the curve broke on purpose");
    MVectorArray points;
    points.append(MVector(0.0, 0.0, 0.0));
    points.append(MVector(1.0, 0.0, 0.0));
    MFnVectorArrayData fn;
    block.outputValue(curve).set(fn.create(points));
    block.setClean(plug);
    return MS::kSuccess;
}

MStatus misbehavingDeformer::deform(MDataBlock& block, MItGeometry& iter, const MMatrix&, unsigned int)
{
    switch (block.inputValue(failure).asInt()) {
    case kDeformStatus: return MS::kFailure;
    case kDeformThrows: throw std::runtime_error("the deformer broke on purpose");
    case kDeformOutOfMemory: throw std::bad_alloc();
    case kDeformThrowsInt: throw 42;
    default: break;
    }
    for (; !iter.isDone(); iter.next()) iter.setPosition(iter.position());
    return MS::kSuccess;
}

MStatus misbehavingDeformer::accessoryNodeSetup(MDagModifier& cmd)
{
    MObject transform = cmd.createNode("transform", MObject::kNullObj);
    MObject shape = cmd.createNode(misbehavingLocator::id, transform);
    MFnDependencyNode fn(transform);
    MStatus stat = cmd.connect(transform, fn.attribute("matrix"), thisMObject(), deformSpace);
    if (!stat) return stat;
    fn.setObject(shape);
    stat = cmd.connect(thisMObject(), curve, shape, fn.attribute("curvePoints"));
    if (!stat) return stat;
    // The locator throws in its draw when the deformer's failure says so.
    return cmd.connect(thisMObject(), failure, shape, fn.attribute("drawFailure"));
}

// ---------------------------------------------------------------------------------------
MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0", "Any");
    MStatus status = plugin.registerNode(LOCATOR_NAME, misbehavingLocator::id, misbehavingLocator::creator,
                                         misbehavingLocator::initialize, MPxNode::kLocatorNode);
    if (!status) return status;
    return plugin.registerNode(DEFORMER_NAME, misbehavingDeformer::id, misbehavingDeformer::creator,
                               misbehavingDeformer::initialize, MPxNode::kDeformerNode);
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    MStatus status = plugin.deregisterNode(misbehavingDeformer::id);
    if (!status) return status;
    return plugin.deregisterNode(misbehavingLocator::id);
}
