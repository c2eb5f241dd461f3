// Pull evaluation and dirty propagation: through attributeAffects, through connections,
// and into the host's own computations when a node declines a plug.
#include "HostFixture.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>

#include <engine/HostTesting.h>

class Evaluation : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        loadTestNodes();
        mComputes = pluginVariable<int>("TestNodes", "hxTestComputeCalls");
        mDeforms = pluginVariable<int>("TestNodes", "hxTestDeformCalls");
        ASSERT_TRUE(mComputes && mDeforms);
        *mComputes = *mDeforms = 0;
    }

    // A quad in the xz plane under a new transform; returns the shape's name.
    std::string quad(double y = 0.0) {
        const std::string shape = create("mesh");
        hx::Result result = host().setMesh(shape, {0, y, 0, 1, y, 0, 1, y, 1, 0, y, 1}, {4}, {0, 1, 2, 3});
        EXPECT_TRUE(result) << result.error;
        return shape;
    }

    int* mComputes = nullptr;
    int* mDeforms = nullptr;
};

TEST_F(Evaluation, ReadingAnOutputComputesItOnceUntilAnInputChanges) {
    const std::string node = create("testSum");
    ASSERT_TRUE(host().setAttr(node + ".inputA", 1.5));
    EXPECT_TRUE(host().isDirty(node + ".sum"));
    EXPECT_EQ(get1(node + ".sum"), 4.0);
    EXPECT_EQ(*mComputes, 1);
    EXPECT_FALSE(host().isDirty(node + ".sum"));
    EXPECT_EQ(get1(node + ".sum"), 4.0);
    EXPECT_EQ(*mComputes, 1) << "a clean plug is not recomputed";

    ASSERT_TRUE(host().setAttr(node + ".inputB", 0.5));
    EXPECT_EQ(get1(node + ".sum"), 2.0);
    EXPECT_EQ(*mComputes, 2);
}

TEST_F(Evaluation, DirtinessFollowsAffectsTransitivelyAndOnlyThere) {
    const std::string node = create("testSum");
    get(node + ".doubled");
    EXPECT_FALSE(host().isDirty(node + ".sum"));
    EXPECT_FALSE(host().isDirty(node + ".doubled"));
    ASSERT_TRUE(host().setAttr(node + ".inputA", 1));
    EXPECT_TRUE(host().isDirty(node + ".sum"));
    EXPECT_TRUE(host().isDirty(node + ".doubled")) << "sum affects doubled";
    EXPECT_FALSE(host().isDirty(node + ".inputB"));
}

TEST_F(Evaluation, EachDirtyPlugIsComputedOncePerPull) {
    // doubled pulls sum; sum pulls nothing computed. Two computes, whatever the order.
    const std::string node = create("testSum");
    EXPECT_EQ(get1(node + ".doubled"), 5.0);
    EXPECT_EQ(*mComputes, 2);
    EXPECT_EQ(get1(node + ".sum"), 2.5);
    EXPECT_EQ(*mComputes, 2);
}

TEST_F(Evaluation, ConnectionsCarryValuesAndDirtinessDownstream) {
    const std::string first = create("testSum");
    const std::string second = create("testSum");
    ASSERT_TRUE(host().connect(first + ".sum", second + ".inputA")) << host().lastError();
    EXPECT_EQ(host().sourceOf(second + ".inputA"), first + ".sum");
    EXPECT_EQ(get1(second + ".doubled"), 2 * (2.5 + 2.5));

    ASSERT_TRUE(host().setAttr(first + ".inputB", 1));
    EXPECT_TRUE(host().isDirty(second + ".inputA"));
    EXPECT_TRUE(host().isDirty(second + ".doubled"));
    EXPECT_EQ(get1(second + ".doubled"), 2 * (1 + 2.5));

    // A driven plug cannot be set, and keeps its last value once disconnected.
    EXPECT_FALSE(host().setAttr(second + ".inputA", 7));
    ASSERT_TRUE(host().disconnect(first + ".sum", second + ".inputA"));
    EXPECT_EQ(get1(second + ".inputA"), 1.0);
    EXPECT_TRUE(host().setAttr(second + ".inputA", 7));
}

TEST_F(Evaluation, ANodesConnectionsAreListedInItsAttributesOrderEachOnce) {
    const std::string first = create("testSum");
    const std::string second = create("testSum");
    ASSERT_TRUE(host().connect(second + ".sum", second + ".inputB")) << host().lastError();
    ASSERT_TRUE(host().connect(first + ".sum", second + ".inputA")) << host().lastError();
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    // inputA, inputB, then sum, whose connection into its own node was listed at inputB.
    EXPECT_EQ(host().connectionsOf(second),
              (Pairs{{first + ".sum", second + ".inputA"}, {second + ".sum", second + ".inputB"}}));
    EXPECT_EQ(host().connectionsOf(first), (Pairs{{first + ".sum", second + ".inputA"}}));
    EXPECT_EQ(host().connectionsOf("noSuchNode"), Pairs{});
}

TEST_F(Evaluation, ACycleEndsTheWalkInsteadOfLooping) {
    const std::string a = create("testSum");
    const std::string b = create("testSum");
    ASSERT_TRUE(host().connect(a + ".sum", b + ".inputA"));
    ASSERT_TRUE(host().connect(b + ".sum", a + ".inputA"));
    ASSERT_TRUE(host().setAttr(a + ".inputB", 1));
    EXPECT_TRUE(host().isDirty(b + ".doubled"));
    get1(b + ".doubled");  // terminates; the value inside a cycle is whatever was there
    EXPECT_FALSE(host().isDirty(b + ".doubled"));
}

TEST_F(Evaluation, BadConnectionsAreRefusedWithoutChanges) {
    const std::string a = create("testSum");
    const std::string b = create("testSum");
    const std::string t = create("transform");
    ASSERT_TRUE(host().connect(a + ".sum", b + ".inputA"));
    struct Case {
        std::string source, destination, says;
    };
    const Case cases[] = {
        {b + ".sum", b + ".inputA", "already has an incoming connection from " + a + ".sum"},
        {t + ".matrix", b + ".inputB", "type mismatch"},
        {a + ".inputA", b + ".sum", "cannot be a connection destination"},
        {a + ".nothing", b + ".inputB", "no attribute 'nothing'"},
        {"ghost.sum", b + ".inputB", "no node named 'ghost'"},
    };
    for (const Case& c : cases) {
        hx::Result result = host().connect(c.source, c.destination);
        EXPECT_FALSE(result) << c.source << " -> " << c.destination;
        EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
    }
    EXPECT_EQ(host().sourceOf(b + ".inputA"), a + ".sum");
    EXPECT_EQ(host().sourceOf(b + ".inputB"), "");
}

TEST_F(Evaluation, TransformMatrixUsesRowVectorsScaleRotateTranslate) {
    const std::string t = create("transform");
    ASSERT_TRUE(host().setAttr(t + ".translate", {1, 2, 3}));
    ASSERT_TRUE(host().setAttr(t + ".rotate", {0, 0, 90}));
    ASSERT_TRUE(host().setAttr(t + ".scale", {2, 1, 1}));
    MMatrix m;
    ASSERT_TRUE(host().worldMatrix(t, m));
    // p' = p * S * Rz(90) * T: x axis (1,0,0) -> scaled (2,0,0) -> rotated (0,2,0) -> moved.
    const MPoint p = MPoint(1, 0, 0) * m;
    EXPECT_TRUE(p.isEquivalent(MPoint(1, 4, 3), 1e-12)) << p.x << " " << p.y << " " << p.z;

    // Children see their parents' placement.
    const std::string child = create("transform", t);
    ASSERT_TRUE(host().setAttr(child + ".tx", 1));
    ASSERT_TRUE(host().worldMatrix(child, m));
    EXPECT_TRUE((MPoint() * m).isEquivalent(MPoint(1, 4, 3), 1e-12));
    ASSERT_TRUE(host().setAttr(t + ".translateZ", 0));
    ASSERT_TRUE(host().worldMatrix(child, m));
    EXPECT_TRUE((MPoint() * m).isEquivalent(MPoint(1, 4, 0), 1e-12));
}

TEST_F(Evaluation, DeclinedOutputGeometryFallsBackToTheDeformerBase) {
    const std::string a = quad(0), b = quad(5);
    const std::string deformer = create("testDeformer");
    const std::string outA = create("mesh"), outB = create("mesh");
    ASSERT_TRUE(host().connect(a + ".outMesh", deformer + ".input[0].inputGeometry")) << host().lastError();
    ASSERT_TRUE(host().connect(b + ".outMesh", deformer + ".input[3].inputGeometry")) << host().lastError();
    ASSERT_TRUE(host().connect(deformer + ".outputGeometry[0]", outA + ".inMesh")) << host().lastError();
    ASSERT_TRUE(host().connect(deformer + ".og[3]", outB + ".inMesh")) << host().lastError();
    ASSERT_TRUE(host().setAttr(deformer + ".offset", 0.25));

    std::vector<double> points;
    ASSERT_TRUE(host().meshPoints(outB, points));
    EXPECT_EQ(*mDeforms, 1);
    EXPECT_EQ(*pluginVariable<unsigned int>("TestNodes", "hxTestLastDeformIndex"), 3u);
    EXPECT_EQ(points[1], 5.25);
    ASSERT_TRUE(host().meshPoints(outA, points));
    EXPECT_EQ(*mDeforms, 2) << "deform runs once per geometry";
    EXPECT_EQ(points, (std::vector<double>{0, 0.25, 0, 1, 0.25, 0, 1, 0.25, 1, 0, 0.25, 1}));

    // The input stays as it was: the base hands deform a copy.
    ASSERT_TRUE(host().meshPoints(a, points));
    EXPECT_EQ(points[1], 0.0);
    ASSERT_TRUE(host().meshPoints(outA, points));
    EXPECT_EQ(*mDeforms, 2);
}

TEST_F(Evaluation, PlugsOfTheApiPullToo) {
    const std::string node = create("testSum");
    MFnDependencyNode fn(host().object(node));
    MStatus status;
    MPlug sum = fn.findPlug("sum", &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(sum.asFloat(), 2.5f);
    MPlug a = fn.findPlug("a", &status);
    ASSERT_TRUE(status);
    EXPECT_TRUE(a.setValue(1.0f));
    EXPECT_EQ(sum.asFloat(), 3.5f);
    EXPECT_EQ(std::string(sum.name().asChar()), node + ".sum");
    EXPECT_FALSE(sum.setValue(1.0f)) << "outputs cannot be set";
    fn.findPlug("missing", &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
}

TEST_F(Evaluation, ArrayHandlesWalkTheElementsInUse) {
    const std::string deformer = create("testDeformer");
    const std::string a = quad(), b = quad();
    ASSERT_TRUE(host().connect(a + ".outMesh", deformer + ".input[2].inputGeometry"));
    ASSERT_TRUE(host().connect(b + ".outMesh", deformer + ".input[7].inputGeometry"));
    MFnDependencyNode fn(host().object(deformer));
    MDataBlock block = hx::dataBlockOf(host().object(deformer));
    MStatus status;
    MArrayDataHandle inputs = block.inputArrayValue(MPxDeformerNode::input, &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(inputs.elementCount(), 2u);
    EXPECT_EQ(inputs.elementIndex(), 2u);
    MDataHandle geometry = inputs.inputValue().child(MPxDeformerNode::inputGeom);
    EXPECT_EQ(geometry.type(), MFnData::kMesh);
    EXPECT_FALSE(geometry.data().isNull()) << "the child pulls the connected mesh";
    EXPECT_TRUE(inputs.next());
    EXPECT_EQ(inputs.elementIndex(), 7u);
    EXPECT_FALSE(inputs.next());
    EXPECT_TRUE(inputs.jumpToElement(2));
    EXPECT_FALSE(inputs.jumpToElement(3));

    // Attributes inside a multi need their element: the block refuses the bare attribute.
    block.inputValue(MPxDeformerNode::inputGeom, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
}
