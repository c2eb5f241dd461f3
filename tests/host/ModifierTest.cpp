// Graph edits through MDagModifier: queued, applied by doIt, reverted by undoIt.
#include "HostFixture.h"

#include <maya/MDagModifier.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>

using Modifiers = HostTest;

TEST_F(Modifiers, CreateATransformWithALocatorConnectAndUndo) {
    loadTestNodes();
    const std::string sum = create("testSum");
    MDagModifier modifier;
    MStatus status;
    MObject transform = modifier.createNode("transform", MObject::kNullObj, &status);
    ASSERT_TRUE(status);
    MObject locator = modifier.createNode(MTypeId(0x70002), transform, &status);
    ASSERT_TRUE(status);

    // The new nodes' attributes can be looked up before doIt; the scene has not changed.
    MFnDependencyNode fn(locator);
    MObject lengthOut = fn.attribute("lengthOut", &status);
    ASSERT_TRUE(status);
    EXPECT_EQ(host().listNodes(), std::vector<std::string>{sum});
    MFnDependencyNode sumFn(host().object(sum));
    ASSERT_TRUE(modifier.connect(locator, lengthOut, host().object(sum), sumFn.attribute("inputA")));

    ASSERT_TRUE(modifier.doIt()) << host().lastError();
    EXPECT_EQ(host().listNodes(), (std::vector<std::string>{sum, "transform1", "testLocator1"}));
    EXPECT_EQ(host().parentOf("testLocator1"), "transform1");
    MFnDagNode dag(transform);
    EXPECT_EQ(dag.childCount(), 1u);
    EXPECT_EQ(dag.child(0), locator);
    EXPECT_EQ(host().sourceOf(sum + ".inputA"), "testLocator1.lengthOut");
    EXPECT_EQ(get1(sum + ".sum"), 1.0 + 2.5);

    ASSERT_TRUE(modifier.undoIt());
    EXPECT_EQ(host().listNodes(), std::vector<std::string>{sum});
    EXPECT_EQ(host().sourceOf(sum + ".inputA"), "");

    // doIt again redoes it all.
    ASSERT_TRUE(modifier.doIt());
    EXPECT_EQ(host().listNodes().size(), 3u);
    EXPECT_EQ(host().sourceOf(sum + ".inputA"), "testLocator1.lengthOut");
}

TEST_F(Modifiers, AutomaticNamesTakeTheLowestFreeNumber) {
    loadTestNodes();
    EXPECT_EQ(create("transform"), "transform1");
    EXPECT_EQ(create("transform"), "transform2");
    EXPECT_EQ(create("testSum"), "testSum1");
    ASSERT_TRUE(host().deleteNode("transform1"));
    EXPECT_EQ(create("transform"), "transform1");
    ASSERT_TRUE(host().rename("transform2", "handle"));
    EXPECT_EQ(create("transform"), "transform2");
    // A shape made without a parent gets a transform of its own.
    EXPECT_EQ(create("testLocator"), "testLocator1");
    EXPECT_EQ(host().parentOf("testLocator1"), "transform3");
}

TEST_F(Modifiers, AFailingDoItLeavesTheSceneAsItWas) {
    loadTestNodes();
    const std::string a = create("testSum"), b = create("testSum");
    ASSERT_TRUE(host().connect(a + ".sum", b + ".inputA"));
    MDagModifier modifier;
    MObject t = modifier.createNode("transform");
    MObject c = modifier.createNode("testSum", t);  // not a DAG type: refused at once
    EXPECT_TRUE(c.isNull());
    MFnDependencyNode fn(host().object(b));
    // b.inputA already has a source: refused when applied.
    ASSERT_TRUE(modifier.connect(host().object(b), fn.attribute("sum"), host().object(b), fn.attribute("inputA")));
    MStatus status = modifier.doIt();
    EXPECT_EQ(status, MS::kFailure);
    EXPECT_NE(std::string(status.errorString().asChar()).find("already has an incoming connection"), std::string::npos)
        << status.errorString().asChar();
    EXPECT_EQ(host().listNodes(), (std::vector<std::string>{a, b}));
}

TEST_F(Modifiers, UnknownTypesAreRefused) {
    MDagModifier dag;
    MStatus status;
    EXPECT_TRUE(dag.createNode("noSuchType", MObject::kNullObj, &status).isNull());
    EXPECT_EQ(status, MS::kInvalidParameter);
    MDGModifier dg;
    EXPECT_TRUE(dg.createNode(MTypeId(0x12345), &status).isNull());
    EXPECT_EQ(status, MS::kInvalidParameter);
    EXPECT_FALSE(host().createNode("noSuchType"));
    EXPECT_TRUE(host().listNodes().empty());
}

TEST_F(Modifiers, AnUndoneNodeOfAnUnloadedPluginCannotComeBack) {
    loadTestNodes();
    MDagModifier modifier;
    modifier.createNode("testLocator");
    ASSERT_TRUE(modifier.doIt());
    ASSERT_TRUE(modifier.undoIt());
    ASSERT_TRUE(host().unloadPlugin("TestNodes")) << host().lastError();
    EXPECT_EQ(modifier.doIt(), MS::kFailure);
    EXPECT_TRUE(host().listNodes().empty());
}

TEST_F(Modifiers, DeletingANodeTakesItsConnectionsAndUndoRestoresThem) {
    loadTestNodes();
    const std::string a = create("testSum"), b = create("testSum");
    const std::string locator = create("testLocator");
    const std::string transform = host().parentOf(locator);
    ASSERT_TRUE(host().connect(a + ".sum", b + ".inputA"));
    ASSERT_TRUE(host().connect(locator + ".lengthOut", a + ".inputB"));

    MDGModifier modifier;
    ASSERT_TRUE(modifier.deleteNode(host().object(transform)));
    ASSERT_TRUE(modifier.doIt());
    EXPECT_FALSE(host().exists(transform));
    EXPECT_FALSE(host().exists(locator)) << "a transform goes with its shapes";
    EXPECT_EQ(host().sourceOf(a + ".inputB"), "");

    ASSERT_TRUE(modifier.undoIt());
    EXPECT_EQ(host().parentOf(locator), transform);
    EXPECT_EQ(host().sourceOf(a + ".inputB"), locator + ".lengthOut");
    EXPECT_EQ(host().sourceOf(b + ".inputA"), a + ".sum");
}
