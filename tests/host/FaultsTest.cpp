// Fault plans: making chosen API calls fail the way a real refusal would, counting the
// calls, and what the host does about what a failing plug-in leaves behind.
#include "HostFixture.h"

#include <engine/HostTesting.h>

#include <maya/MDagModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>

namespace {

const std::vector<double> kBox = {0, 0, 0, 2, 0, 0, 2, 0, 2, 0, 0, 2};

class Faults : public HostTest {
protected:
    // "boxShape" under "box", one face of the four points kBox, deformed by testDeformer1
    // with an offset of 1.5.
    void deformBox() {
        loadTestNodes();
        ASSERT_TRUE(host().createNode("transform", "box"));
        ASSERT_TRUE(host().createNode("mesh", "boxShape", "box"));
        ASSERT_TRUE(host().setMesh("boxShape", kBox, {4}, {0, 1, 2, 3}));
        ASSERT_TRUE(host().deformer("testDeformer", "boxShape")) << host().lastError();
        ASSERT_TRUE(host().setAttr("testDeformer1.offset", 1.5));
    }
};

std::string reason(const MStatus& status) { return status.errorString().asChar(); }

}  // namespace

TEST_F(Faults, TheNthCallFailsAndChangesNothing) {
    MFnNumericAttribute fn;
    fn.create("weight", "w", MFnNumericData::kFloat, 0.0);

    hx::FaultPlan faults;
    faults.failCall("MFnAttribute::setKeyable", 2, MStatus::kInvalidParameter);
    EXPECT_EQ(fn.setKeyable(true).statusCode(), MStatus::kSuccess);
    const MStatus refused = fn.setKeyable(false);
    EXPECT_EQ(refused.statusCode(), MStatus::kInvalidParameter);
    EXPECT_EQ(reason(refused), "(kInvalidParameter): MFnAttribute::setKeyable: injected failure on 'weight'");
    EXPECT_TRUE(fn.isKeyable()) << "the refused call changed nothing";
    EXPECT_EQ(fn.setKeyable(false).statusCode(), MStatus::kSuccess) << "only the second call fails";
    EXPECT_FALSE(fn.isKeyable());

    EXPECT_EQ(faults.calls("MFnAttribute::setKeyable"), 3u);
    EXPECT_EQ(faults.calls("MFnAttribute::setStorable"), 0u);
    ASSERT_EQ(faults.injected().size(), 1u);
    const hx::InjectedFault& injected = faults.injected()[0];
    EXPECT_EQ(injected.function, "MFnAttribute::setKeyable");
    EXPECT_EQ(injected.subject, "weight");
    EXPECT_EQ(injected.call, 2u);
    EXPECT_EQ(injected.code, MStatus::kInvalidParameter);
}

TEST_F(Faults, CallsAboutANameFailEveryTimeAndFillTheStatusArgument) {
    loadTestNodes();
    MFnDependencyNode sum(host().object(create("testSum")));

    hx::FaultPlan faults;
    faults.failCallsOn("MFnDependencyNode::attribute", "inputB");
    MStatus status;
    EXPECT_FALSE(sum.attribute("inputA", &status).isNull());
    EXPECT_TRUE(status);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_TRUE(sum.attribute("inputB", &status).isNull());
        EXPECT_EQ(reason(status), "(kFailure): MFnDependencyNode::attribute: injected failure on 'inputB'");
    }
    ASSERT_EQ(faults.injected().size(), 2u);
    EXPECT_EQ(faults.injected()[0].call, 2u);
    EXPECT_EQ(faults.injected()[1].call, 3u);
}

TEST_F(Faults, TwoFailuresOfOneFunctionCountItsCallsAlike) {
    MFnNumericAttribute fn;
    fn.create("weight", "w", MFnNumericData::kFloat, 0.0);
    hx::FaultPlan faults;
    faults.failCall("MFnNumericAttribute::setMin", 2).failCall("MFnNumericAttribute::setMin", 3);
    std::vector<bool> succeeded;
    for (int call = 1; call <= 4; ++call) succeeded.push_back(fn.setMin(double(call)));
    EXPECT_EQ(succeeded, (std::vector<bool>{true, false, false, true}));
    double min = 0;
    ASSERT_TRUE(fn.getMin(min));
    EXPECT_EQ(min, 4.0);
}

TEST_F(Faults, ARefusedModifierEditIsNeverQueued) {
    loadTestNodes();
    const std::string a = create("testSum"), b = create("testSum");
    MFnDependencyNode fnA(host().object(a)), fnB(host().object(b));
    MDagModifier modifier;

    hx::FaultPlan faults;
    faults.failCallsOn("MDagModifier::createNode", "testLocator").failCall("MDGModifier::connect", 1);
    MStatus status;
    MObject transform = modifier.createNode("transform", MObject::kNullObj, &status);
    EXPECT_TRUE(status);
    EXPECT_TRUE(modifier.createNode("testLocator", transform, &status).isNull());
    EXPECT_FALSE(status);
    EXPECT_FALSE(modifier.connect(host().object(a), fnA.attribute("sum"), host().object(b), fnB.attribute("inputA")));
    EXPECT_TRUE(modifier.connect(host().object(a), fnA.attribute("sum"), host().object(b), fnB.attribute("inputB")));

    ASSERT_TRUE(modifier.doIt()) << host().lastError();
    EXPECT_EQ(host().listNodes(), (std::vector<std::string>{a, b, "transform1"}));
    EXPECT_EQ(host().sourceOf(b + ".inputA"), "");
    EXPECT_EQ(host().sourceOf(b + ".inputB"), a + ".sum");
    EXPECT_EQ(faults.calls("MDGModifier::connect"), 2u);
}

TEST_F(Faults, APlanEndsWithItsScopeAndAResetClearsIt) {
    {
        hx::FaultPlan faults;
        faults.failCallsOn("MFnPlugin::registerNode", "testSum");
        EXPECT_FALSE(host().loadPlugin(testPlugin("TestNodes")));
        EXPECT_EQ(faults.calls("MFnPlugin::registerNode"), 1u);
    }
    ASSERT_TRUE(host().loadPlugin(testPlugin("TestNodes"))) << host().lastError();

    hx::FaultPlan faults;
    faults.failCallsOn("MFnPlugin::deregisterNode", "testSum");
    host().reset();  // would fail to unload TestNodes if the failure were still planned
    EXPECT_TRUE(host().plugins().empty());
    EXPECT_EQ(faults.calls("MFnPlugin::deregisterNode"), 0u) << "the reset's own calls are not counted";
    EXPECT_TRUE(faults.injected().empty());

    // The plan is still in force, empty.
    loadTestNodes();
    EXPECT_TRUE(host().unloadPlugin("TestNodes")) << host().lastError();
    EXPECT_EQ(faults.calls("MFnPlugin::deregisterNode"), 3u);
}

TEST_F(Faults, TheHostRemovesAndNamesTheTypesAFailedLoadLeft) {
    // TestNodes registers three types and returns the first failure without undoing any.
    hx::FaultPlan faults;
    faults.failCallsOn("MFnPlugin::registerNode", "testDeformer", MStatus::kInsufficientMemory);
    hx::Result result = host().loadPlugin(testPlugin("TestNodes"));
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("initializePlugin failed: (kInsufficientMemory): MFnPlugin::registerNode: injected "
                                "failure on 'testDeformer'"),
              std::string::npos)
        << "the load fails with the status initializePlugin returned: " << result.error;
    EXPECT_EQ(result.warnings,
              (std::vector<std::string>{
                  "plug-in 'TestNodes' left node type 'testSum' registered after its initializePlugin failed; removed",
                  "plug-in 'TestNodes' left node type 'testLocator' registered after its initializePlugin failed; "
                  "removed"}));
    EXPECT_FALSE(hasType("testSum"));
    EXPECT_FALSE(hasType("testLocator"));
    EXPECT_TRUE(host().plugins().empty());
}

TEST_F(Faults, AFailedDeformFailsTheEvaluation) {
    ASSERT_NO_FATAL_FAILURE(deformBox());

    // The test deformer returns a failed read of its deform space as it is.
    hx::FaultPlan faults;
    faults.failCallsOn("MDataBlock::inputValue", "deformSpace");
    std::vector<double> points;
    hx::Result result = host().meshPoints("boxShape", points);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error,
              "deform of testDeformer1.outputGeometry[0] failed: (kFailure): "
              "MDataBlock::inputValue: injected failure on 'deformSpace'");
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(points, kBox);
}

TEST_F(Faults, AFailedDeformIsRunAgainByEveryReadUntilItsCauseIsGone) {
    ASSERT_NO_FATAL_FAILURE(deformBox());
    const int deformsBefore = *pluginVariable<int>("TestNodes", "hxTestDeformCalls");

    std::vector<double> points;
    {
        hx::FaultPlan faults;
        faults.failCallsOn("MDataBlock::inputValue", "deformSpace");
        for (int read = 1; read <= 2; ++read) {
            const hx::Result result = host().meshPoints("boxShape", points);
            EXPECT_FALSE(result) << "read " << read;
            EXPECT_EQ(points, kBox) << "read " << read;
        }
        EXPECT_EQ(faults.injected().size(), 2u) << "each read ran deform again";
    }

    // Nothing was set since: the plan's end alone lets the deform through.
    const hx::Result result = host().meshPoints("boxShape", points);
    EXPECT_TRUE(result) << result.error;
    EXPECT_EQ(points, (std::vector<double>{0, 1.5, 0, 2, 1.5, 0, 2, 1.5, 2, 0, 1.5, 2}));
    EXPECT_EQ(*pluginVariable<int>("TestNodes", "hxTestDeformCalls") - deformsBefore, 3);

    // A good result is kept: a further read evaluates nothing.
    EXPECT_TRUE(host().meshPoints("boxShape", points));
    EXPECT_EQ(*pluginVariable<int>("TestNodes", "hxTestDeformCalls") - deformsBefore, 3);
}
