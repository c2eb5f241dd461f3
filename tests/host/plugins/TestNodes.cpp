//
// TestNodes: a small plug-in the host's tests load. It registers
//   testSum       a dependency node: sum = a + b, doubled = 2 * sum (a chain to pull through)
//   testLocator   a locator passing length/count through and drawing an axis cross and a curve
//   testDeformer  a deformer lifting points by "offset" inside a deform space, publishing a
//                 curve of "count" points along x, and setting up a testLocator as accessory.
// Written against the host's public API only, in the host's C++98 dialect.
//
#include <maya/MIOStream.h>

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

// Counters the tests read through dlsym.
extern "C" {
PLUGIN_EXPORT int hxTestComputeCalls = 0;
PLUGIN_EXPORT int hxTestDeformCalls = 0;
PLUGIN_EXPORT unsigned int hxTestLastDeformIndex = 0;
PLUGIN_EXPORT double hxTestLastDeformMatrix[16];
}

// ---------------------------------------------------------------------------------------
class testSum : public MPxNode
{
public:
    static void* creator() { return new testSum; }
    static MStatus initialize();
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);

    static MTypeId id;
    static MObject a, b, sum, doubled;
};

MTypeId testSum::id(0x70001);
MObject testSum::a, testSum::b, testSum::sum, testSum::doubled;

MStatus testSum::initialize()
{
    MFnNumericAttribute nAttr;
    a = nAttr.create("inputA", "a", MFnNumericData::kFloat, 0.0);
    nAttr.setKeyable(true);
    nAttr.setMin(-10.0);
    nAttr.setMax(10.0);
    addAttribute(a);
    b = nAttr.create("inputB", "b", MFnNumericData::kFloat, 2.5);
    nAttr.setKeyable(true);
    addAttribute(b);
    sum = nAttr.create("sum", "s", MFnNumericData::kFloat, 0.0);
    nAttr.setWritable(false);
    nAttr.setStorable(false);
    addAttribute(sum);
    doubled = nAttr.create("doubled", "d", MFnNumericData::kDouble, 0.0);
    nAttr.setWritable(false);
    addAttribute(doubled);
    attributeAffects(a, sum);
    attributeAffects(b, sum);
    attributeAffects(sum, doubled);
    return MS::kSuccess;
}

MStatus testSum::compute(const MPlug& plug, MDataBlock& block)
{
    ++hxTestComputeCalls;
    if (plug == sum) {
        float total = block.inputValue(a).asFloat() + block.inputValue(b).asFloat();
        block.outputValue(sum).set(total);
    } else if (plug == doubled) {
        double twice = 2.0 * block.inputValue(sum).asFloat();
        block.outputValue(doubled).set(twice);
    } else {
        return MS::kUnknownParameter;
    }
    block.setClean(plug);
    return MS::kSuccess;
}

// ---------------------------------------------------------------------------------------
class testLocator : public MPxLocatorNode
{
public:
    static void* creator() { return new testLocator; }
    static MStatus initialize();
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);
    virtual void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style, M3dView::DisplayStatus status);
    virtual bool isBounded() const { return true; }
    virtual MBoundingBox boundingBox() const { return MBoundingBox(MPoint(-5, 0, -5), MPoint(5, 0, 5)); }

    static MTypeId id;
    static MObject curvePoints, lengthIn, lengthOut, countIn, countOut;
};

MTypeId testLocator::id(0x70002);
MObject testLocator::curvePoints, testLocator::lengthIn, testLocator::lengthOut;
MObject testLocator::countIn, testLocator::countOut;

MStatus testLocator::initialize()
{
    MFnTypedAttribute tAttr;
    MFnVectorArrayData arrayData;
    MVectorArray empty;
    MStatus stat;
    curvePoints = tAttr.create("curvePoints", "cp", MFnData::kVectorArray, arrayData.create(empty), &stat);
    CHECK_MSTATUS(stat);
    addAttribute(curvePoints);

    MFnNumericAttribute nAttr;
    lengthIn = nAttr.create("lengthIn", "li", MFnNumericData::kFloat, 0);
    nAttr.setKeyable(true);
    nAttr.setDefault(1.0f);
    addAttribute(lengthIn);
    lengthOut = nAttr.create("lengthOut", "lo", MFnNumericData::kFloat, 0);
    nAttr.setWritable(false);
    nAttr.setStorable(false);
    addAttribute(lengthOut);
    countIn = nAttr.create("countIn", "ci", MFnNumericData::kInt, 0);
    nAttr.setKeyable(true);
    nAttr.setDefault(30);
    nAttr.setMin(5.0);
    nAttr.setMax(500.0);
    addAttribute(countIn);
    countOut = nAttr.create("countOut", "co", MFnNumericData::kInt, 0);
    nAttr.setWritable(false);
    nAttr.setStorable(false);
    addAttribute(countOut);
    attributeAffects(lengthIn, lengthOut);
    attributeAffects(countIn, countOut);
    return MS::kSuccess;
}

MStatus testLocator::compute(const MPlug& plug, MDataBlock& block)
{
    ++hxTestComputeCalls;
    if (plug == lengthOut) {
        block.outputValue(lengthOut).set(block.inputValue(lengthIn).asFloat());
    } else if (plug == countOut) {
        block.outputValue(countOut).set(block.inputValue(countIn).asInt());
    } else {
        return MS::kUnknownParameter;
    }
    block.setClean(plug);
    return MS::kSuccess;
}

void testLocator::draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle, M3dView::DisplayStatus)
{
    MFnDependencyNode fn(thisMObject());
    MPlug plug = fn.findPlug(curvePoints);
    MObject data;
    MStatus stat = plug.getValue(data);
    if (!stat) stat.perror("getValue");
    MFnVectorArrayData arrayFn(data);
    MVectorArray points = arrayFn.array();

    view.beginGL();
    glPushAttrib(GL_CURRENT_BIT);
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3f(-1, 0, 0);
    glVertex3f(1, 0, 0);
    glEnd();
    glColor3f(0, 0, 1);
    glBegin(GL_LINE_STRIP);
    for (unsigned int i = 0; i < points.length(); ++i)
        glVertex3f((float)points[i].x, (float)points[i].y, (float)points[i].z);
    glEnd();
    glPopAttrib();
    view.endGL();
}

// ---------------------------------------------------------------------------------------
class testDeformer : public MPxDeformerNode
{
public:
    static void* creator() { return new testDeformer; }
    static MStatus initialize();
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);
    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& m, unsigned int multiIndex);
    virtual MObject& accessoryAttribute() const { return deformSpace; }
    virtual MStatus accessoryNodeSetup(MDagModifier& cmd);

    static MTypeId id;
    static MObject deformSpace, offset, length, count, curve;
};

MTypeId testDeformer::id(0x70003);
MObject testDeformer::deformSpace, testDeformer::offset, testDeformer::length;
MObject testDeformer::count, testDeformer::curve;

MStatus testDeformer::initialize()
{
    MFnMatrixAttribute mAttr;
    deformSpace = mAttr.create("deformSpace", "dSp");
    mAttr.setStorable(false);
    addAttribute(deformSpace);

    MFnNumericAttribute nAttr;
    offset = nAttr.create("offset", "off", MFnNumericData::kFloat, 0.0);
    nAttr.setKeyable(true);
    addAttribute(offset);
    length = nAttr.create("length", "len", MFnNumericData::kFloat, 0.0);
    addAttribute(length);
    count = nAttr.create("count", "cnt", MFnNumericData::kInt, 0);
    nAttr.setMin(5.0);
    nAttr.setMax(500.0);
    addAttribute(count);

    MFnTypedAttribute tAttr;
    MFnVectorArrayData arrayData;
    MVectorArray empty;
    curve = tAttr.create("curve", "crv", MFnData::kVectorArray, arrayData.create(empty));
    tAttr.setStorable(false);
    addAttribute(curve);

    attributeAffects(deformSpace, outputGeom);
    attributeAffects(offset, outputGeom);
    attributeAffects(length, curve);
    attributeAffects(count, curve);
    return MS::kSuccess;
}

MStatus testDeformer::compute(const MPlug& plug, MDataBlock& block)
{
    ++hxTestComputeCalls;
    if (plug != curve) return MS::kUnknownParameter;
    float len = block.inputValue(length).asFloat();
    int n = block.inputValue(count).asInt();
    if (n < 2) n = 2;
    MVectorArray points;
    for (int i = 0; i < n; ++i) points.append(MVector(len * i / (n - 1), 0.0, 0.0));
    MFnVectorArrayData fn;
    MObject data = fn.create(points);
    block.outputValue(curve).set(data);
    block.setClean(plug);
    return MS::kSuccess;
}

MStatus testDeformer::deform(MDataBlock& block, MItGeometry& iter, const MMatrix& m, unsigned int multiIndex)
{
    ++hxTestDeformCalls;
    hxTestLastDeformIndex = multiIndex;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) hxTestLastDeformMatrix[4 * r + c] = m(r, c);
    MStatus status;
    MMatrix space = block.inputValue(deformSpace, &status).asMatrix();
    if (!status) return status;
    MMatrix toSpace = space.inverse();
    float lift = block.inputValue(offset).asFloat();
    for (; !iter.isDone(); iter.next()) {
        MPoint p = iter.position() * toSpace;
        p.y += lift;
        iter.setPosition(p * space);
    }
    return status;
}

MStatus testDeformer::accessoryNodeSetup(MDagModifier& cmd)
{
    MStatus stat;
    MObject transform = cmd.createNode("transform", MObject::kNullObj, &stat);
    MObject shape = cmd.createNode(testLocator::id, transform, &stat);
    MFnDependencyNode fn(transform);
    MObject attr = fn.attribute("matrix");
    stat = cmd.connect(transform, attr, thisMObject(), deformSpace);
    CHECK_MSTATUS(stat);
    fn.setObject(shape);
    stat = cmd.connect(shape, fn.attribute("lengthOut"), thisMObject(), length);
    CHECK_MSTATUS(stat);
    stat = cmd.connect(shape, fn.attribute("countOut"), thisMObject(), count);
    CHECK_MSTATUS(stat);
    stat = cmd.connect(thisMObject(), curve, shape, fn.attribute("curvePoints"));
    CHECK_MSTATUS(stat);
    return stat;
}

// ---------------------------------------------------------------------------------------
MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0", "Any");
    MStatus status = plugin.registerNode("testSum", testSum::id, testSum::creator, testSum::initialize);
    if (!status) return status;
    status = plugin.registerNode("testLocator", testLocator::id, testLocator::creator, testLocator::initialize,
                                 MPxNode::kLocatorNode);
    if (!status) return status;
    return plugin.registerNode("testDeformer", testDeformer::id, testDeformer::creator, testDeformer::initialize,
                               MPxNode::kDeformerNode);
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    MStatus status = plugin.deregisterNode(testDeformer::id);
    if (!status) return status;
    status = plugin.deregisterNode(testLocator::id);
    if (!status) return status;
    return plugin.deregisterNode(testSum::id);
}
