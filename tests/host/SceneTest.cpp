// A scene as the hxnoise tool builds it: a mesh, a deformer put on it by the deformer
// command, and the locator the deformer sets up, evaluated end to end.
#include "HostFixture.h"

#include <GlRecorder.h>

class Scene : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        loadTestNodes();
        ASSERT_TRUE(host().createNode("transform", "box"));
        ASSERT_TRUE(host().createNode("mesh", "boxShape", "box"));
        ASSERT_TRUE(host().setMesh("boxShape", {0, 0, 0, 2, 0, 0, 2, 0, 2, 0, 0, 2}, {4}, {0, 1, 2, 3}));
    }
};

TEST_F(Scene, TheDeformerCommandInsertsTheDeformerAndItsAccessories) {
    std::string deformer;
    hx::Result result = host().deformer("testDeformer", "boxShape", &deformer);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(deformer, "testDeformer1");

    // The original geometry moved to an intermediate shape that feeds the deformer.
    EXPECT_EQ(host().parentOf("boxShapeOrig"), "box");
    EXPECT_EQ(get1("boxShapeOrig.intermediateObject"), 1.0);
    EXPECT_EQ(host().sourceOf("testDeformer1.input[0].inputGeometry"), "boxShapeOrig.outMesh");
    EXPECT_EQ(host().sourceOf("boxShape.inMesh"), "testDeformer1.outputGeometry[0]");

    // accessoryNodeSetup made a transform with a locator and wired them.
    EXPECT_EQ(host().parentOf("testLocator1"), "transform1");
    EXPECT_EQ(host().sourceOf("testDeformer1.deformSpace"), "transform1.matrix");
    EXPECT_EQ(host().sourceOf("testDeformer1.count"), "testLocator1.countOut");
    EXPECT_EQ(host().sourceOf("testLocator1.curvePoints"), "testDeformer1.curve");
}

TEST_F(Scene, EditsFlowThroughToTheMeshAndTheDrawing) {
    ASSERT_TRUE(host().deformer("testDeformer", "box"));  // a transform stands for its mesh
    ASSERT_TRUE(host().setAttr("testDeformer1.offset", 1));
    std::vector<double> points;
    ASSERT_TRUE(host().meshPoints("boxShape", points));
    EXPECT_EQ(points, (std::vector<double>{0, 1, 0, 2, 1, 0, 2, 1, 2, 0, 1, 2}));

    // Turning the locator's transform turns the deform space: the lift now goes along x.
    ASSERT_TRUE(host().setAttr("transform1.rotateZ", -90));
    ASSERT_TRUE(host().meshPoints("boxShape", points));
    EXPECT_NEAR(points[0], 1.0, 1e-12);
    EXPECT_NEAR(points[1], 0.0, 1e-12);

    // The mesh's own transform reaches deform as its local-to-world matrix (moving it does
    // not re-run the deformer: the deformation is in object space).
    ASSERT_TRUE(host().setAttr("box.translateY", 4));
    ASSERT_TRUE(host().setAttr("testDeformer1.offset", 2));
    ASSERT_TRUE(host().meshPoints("boxShape", points));
    const double* m = pluginVariable<double>("TestNodes", "hxTestLastDeformMatrix");
    EXPECT_EQ(m[13], 4.0);

    // The locator's count flows to the deformer's curve and back into the drawing.
    ASSERT_TRUE(host().setAttr("testLocator1.countIn", 5));
    ASSERT_TRUE(host().setAttr("testLocator1.lengthIn", 4));
    hx::gl::clearRecordedCalls();
    ASSERT_TRUE(host().drawLocator("testLocator1"));
    int vertices = 0;
    for (const hx::gl::Call& call : hx::gl::recordedCalls()) vertices += call.mName == "glVertex3f";
    EXPECT_EQ(vertices, 2 + 5);
    EXPECT_EQ(get("testDeformer1.curve"), (std::vector<double>{0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0}));
}

TEST_F(Scene, AFailedDeformerCommandChangesNothing) {
    const std::vector<std::string> before = host().listNodes();
    EXPECT_FALSE(host().deformer("testSum", "boxShape"));
    EXPECT_FALSE(host().deformer("testDeformer", "nothing"));
    EXPECT_FALSE(host().deformer("noType", "boxShape"));
    EXPECT_EQ(host().listNodes(), before);
    EXPECT_EQ(host().sourceOf("boxShape.inMesh"), "");
}

TEST_F(Scene, DeformersStackOnTheSameShape) {
    ASSERT_TRUE(host().deformer("testDeformer", "boxShape"));
    ASSERT_TRUE(host().deformer("testDeformer", "boxShape"));
    EXPECT_EQ(host().sourceOf("testDeformer2.input[0].inputGeometry"), "testDeformer1.outputGeometry[0]");
    ASSERT_TRUE(host().setAttr("testDeformer1.offset", 1));
    ASSERT_TRUE(host().setAttr("testDeformer2.offset", 2));
    std::vector<double> points;
    ASSERT_TRUE(host().meshPoints("boxShape", points));
    EXPECT_EQ(points[1], 3.0);
}

TEST_F(Scene, MeshInputIsValidated) {
    EXPECT_FALSE(host().setMesh("boxShape", {0, 0, 0, 1, 0}, {}, {}));
    EXPECT_FALSE(host().setMesh("boxShape", {0, 0, 0, 1, 0, 0, 1, 1, 0}, {3}, {0, 1, 7}));
    EXPECT_FALSE(host().setMesh("boxShape", {0, 0, 0, 1, 0, 0, 1, 1, 0}, {2}, {0, 1}));
    EXPECT_FALSE(host().setMesh("boxShape", {0, 0, 0, 1, 0, 0, 1, 1, 0}, {3}, {0, 1}));
    std::vector<double> points;
    ASSERT_TRUE(host().meshPoints("boxShape", points));
    EXPECT_EQ(points.size(), 12u) << "the mesh is unchanged";
}
