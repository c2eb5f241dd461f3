// Values through plugs and data blocks: matrix data, the connections of a plug, and the
// elements of multis inside multis.
#include "HostFixture.h"

#include <engine/HostTesting.h>
#include <maya/M3dView.h>  // after gtest: its X11 headers define None, Bool, ...
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMatrixData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlugArray.h>
#include <maya/MPxDeformerNode.h>

using PlugData = HostTest;

TEST_F(PlugData, MatrixPlugsGiveAndTakeMatrixData) {
    loadTestNodes();
    const std::string deformer = create("testDeformer");
    const std::string transform = create("transform");
    ASSERT_TRUE(host().setAttr(transform + ".translate", {1, 2, 3}));

    MFnDependencyNode transformFn(host().object(transform));
    MObject data = transformFn.findPlug("matrix").asMObject();
    MFnMatrixData matrixFn(data);
    EXPECT_EQ(matrixFn.matrix()[3][1], 2.0);

    MMatrix scaled;
    scaled[0][0] = 4.0;
    MFnMatrixData made;
    MObject fresh = made.create(scaled);
    MPlug space = MFnDependencyNode(host().object(deformer)).findPlug("deformSpace");
    ASSERT_TRUE(space.setValue(fresh));
    EXPECT_EQ(get(deformer + ".deformSpace")[0], 4.0);

    // Data of another kind does not fit a matrix plug, and an unattached set reads identity.
    MFnVectorArrayData arrayFn;
    MObject vectors = arrayFn.create();
    EXPECT_EQ(space.setValue(vectors), MS::kInvalidParameter);
    MStatus status;
    EXPECT_EQ(MFnMatrixData().matrix(&status), MMatrix::identity);
    EXPECT_EQ(status, MS::kInvalidParameter);
}

TEST_F(PlugData, ConnectedToListsSourcesAndDestinations) {
    loadTestNodes();
    const std::string a = create("testSum"), b = create("testSum"), c = create("testSum");
    ASSERT_TRUE(host().connect(a + ".sum", b + ".inputA"));
    ASSERT_TRUE(host().connect(a + ".sum", c + ".inputB"));
    MPlugArray plugs;
    MPlug sum = MFnDependencyNode(host().object(a)).findPlug("sum");
    EXPECT_TRUE(sum.connectedTo(plugs, false, true));
    ASSERT_EQ(plugs.length(), 2u);
    EXPECT_EQ(std::string(plugs[0].name().asChar()), b + ".inputA");
    EXPECT_EQ(std::string(plugs[1].name().asChar()), c + ".inputB");
    EXPECT_FALSE(sum.connectedTo(plugs, true, false)) << "sum has no source";
    EXPECT_EQ(plugs.length(), 0u);

    // A compound's connections are its children's, reported as compounds.
    const std::string from = create("transform"), to = create("transform");
    ASSERT_TRUE(host().connect(from + ".translate", to + ".scale"));
    MPlug scale = MFnDependencyNode(host().object(to)).findPlug("scale");
    ASSERT_TRUE(scale.connectedTo(plugs, true, false));
    ASSERT_EQ(plugs.length(), 1u);
    EXPECT_EQ(std::string(plugs[0].name().asChar()), from + ".translate");
}

TEST_F(PlugData, DataHandlesWalkTheElementsOfAMultiInsideAMulti) {
    loadTestNodes();
    const std::string deformer = create("testDeformer");
    for (const char* weight : {"weightList[0].weights[3]", "weightList[2].weights[1]", "weightList[2].weights[6]",
                               "weightList[3].weights[9]"})
        ASSERT_TRUE(host().setAttr(deformer + "." + weight, 0.5)) << weight;

    MDataBlock block = hx::dataBlockOf(host().object(deformer));
    MArrayDataHandle lists = block.inputArrayValue(MPxDeformerNode::weightList);
    EXPECT_EQ(lists.elementCount(), 3u);
    ASSERT_TRUE(lists.jumpToElement(2));
    MArrayDataHandle weights(lists.inputValue().child(MPxDeformerNode::weights));
    ASSERT_EQ(weights.elementCount(), 2u);
    EXPECT_EQ(weights.elementIndex(), 1u);
    EXPECT_EQ(weights.inputValue().asFloat(), 0.5f);
    EXPECT_TRUE(weights.next());
    EXPECT_EQ(weights.elementIndex(), 6u);
    EXPECT_FALSE(weights.next());

    // A bare inner multi has no element of the outer one: the block refuses it.
    MStatus status;
    block.inputArrayValue(MPxDeformerNode::weights, &status);
    EXPECT_EQ(status, MS::kInvalidParameter);
}

TEST(ViewColours, AnIndexOutsideTheTableIsRefused) {
    M3dView view;
    EXPECT_TRUE(view.setDrawColor(15, M3dView::kDormantColors));
    const MStatus refused = view.setDrawColor(16);
    EXPECT_EQ(refused, MS::kInvalidParameter);
    EXPECT_NE(std::string(refused.errorString().asChar()).find("0-15"), std::string::npos);
}
