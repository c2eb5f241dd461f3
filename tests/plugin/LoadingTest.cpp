// Loading and unloading hxNoise.so: what it registers, in which order, and what a load or
// an unload that fails half-way reports and leaves behind.
#include "PluginFixture.h"

#include <engine/HostTesting.h>

#include <maya/MPxNode.h>

#include <algorithm>
#include <optional>

namespace {

hx::Host& host() { return hx::Host::instance(); }

bool registered(const std::string& type) {
    const std::vector<std::string> types = host().nodeTypes();
    return std::find(types.begin(), types.end(), type) != types.end();
}

std::optional<hx::PluginInfo> loaded(const std::string& name) {
    for (const hx::PluginInfo& plugin : host().plugins())
        if (plugin.name == name) return plugin;
    return std::nullopt;
}

}  // namespace

class Loading : public ::testing::Test {
protected:
    void SetUp() override { host().reset(); }
    void TearDown() override { host().reset(); }
    hx::Result load() {
        return writing([] { return host().loadPlugin(HX_NOISE_PLUGIN); });
    }
    // What `call` returns; what it wrote to standard error is kept in mWritten.
    template <class Call>
    hx::Result writing(Call call) {
        mStderr.start();
        hx::Result result = call();
        mWritten = mStderr.finish();
        return result;
    }
    StderrCapture mStderr;
    std::string mWritten;
};

TEST_F(Loading, RegistersTheLocatorThenTheDeformerAndSaysNothing) {
    mStderr.start();
    hx::Result result = host().loadPlugin(HX_NOISE_PLUGIN);
    EXPECT_EQ(mStderr.finish(), "");
    ASSERT_TRUE(result) << result.error;

    const std::optional<hx::PluginInfo> plugin = loaded("hxNoise");
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->vendor, "Quorvane");
    EXPECT_EQ(plugin->version, "3.0");
    EXPECT_EQ(plugin->apiVersion, "201217") << "the MApiVersion the library exports";
    EXPECT_EQ(plugin->nodeTypes, (std::vector<std::string>{"noiseLocator", "hxNoise"}));

    const auto locator = host().nodeType("noiseLocator");
    ASSERT_TRUE(locator);
    EXPECT_EQ(locator->id, 0x80007u);
    EXPECT_EQ(locator->kind, MPxNode::kLocatorNode);
    EXPECT_EQ(locator->plugin, "hxNoise");
    const auto deformer = host().nodeType("hxNoise");
    ASSERT_TRUE(deformer);
    EXPECT_EQ(deformer->id, 0xA1u);
    EXPECT_EQ(deformer->kind, MPxNode::kDeformerNode);
    EXPECT_EQ(deformer->plugin, "hxNoise");
}

TEST_F(Loading, UnloadingRemovesBothTypesAndTheLibraryLoadsAgain) {
    ASSERT_TRUE(host().loadPlugin(HX_NOISE_PLUGIN)) << host().lastError();
    mStderr.start();
    hx::Result result = host().unloadPlugin("hxNoise");
    EXPECT_EQ(mStderr.finish(), "");
    ASSERT_TRUE(result) << result.error;
    EXPECT_FALSE(registered("noiseLocator"));
    EXPECT_FALSE(registered("hxNoise"));
    EXPECT_FALSE(loaded("hxNoise"));

    // The class-wide attribute handles are filled afresh on the next load.
    ASSERT_TRUE(host().loadPlugin(HX_NOISE_PLUGIN)) << host().lastError();
    std::string node;
    ASSERT_TRUE(host().createNode("hxNoise", "", "", &node)) << host().lastError();
    std::vector<double> seed;
    ASSERT_TRUE(host().getAttr(node + ".oyNoiseSeed", seed));
    EXPECT_EQ(seed, std::vector<double>{1});
}

TEST_F(Loading, AFailedLocatorRegistrationIsReportedAndReturnedAndRegistersNothing) {
    // Another plug-in holds the type name "noiseLocator".
    ASSERT_TRUE(host().loadPlugin(helperPlugin("LocatorNameTaken"))) << host().lastError();

    const hx::Result result = load();
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("initializePlugin failed"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("'noiseLocator' is already registered"), std::string::npos)
        << "the status returned is the locator's: " << result.error;
    EXPECT_EQ(mWritten,
              "registerNode: (kFailure): plug-in 'hxNoise': node type 'noiseLocator' is already registered\n");
    EXPECT_FALSE(registered("hxNoise")) << "the deformer is never registered";
    EXPECT_FALSE(loaded("hxNoise"));
    EXPECT_EQ(host().nodeType("noiseLocator")->plugin, "LocatorNameTaken");
}

TEST_F(Loading, AFailedDeformerRegistrationRollsTheLocatorBackAndReturnsTheDeformersStatus) {
    // Another plug-in holds the type id 0xA1.
    ASSERT_TRUE(host().loadPlugin(helperPlugin("DeformerIdTaken"))) << host().lastError();

    const hx::Result result = load();
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("type id 0xa1 of 'hxNoise' is already used by node type 'idSquatter'"),
              std::string::npos)
        << result.error;
    EXPECT_EQ(mWritten, "") << "the deformer's failure is returned without a report of its own";
    EXPECT_FALSE(registered("noiseLocator"));
    EXPECT_FALSE(registered("hxNoise"));
    EXPECT_TRUE(registered("idSquatter"));

    // Once the id is free again the plug-in loads whole.
    ASSERT_TRUE(host().unloadPlugin("DeformerIdTaken")) << host().lastError();
    ASSERT_TRUE(host().loadPlugin(HX_NOISE_PLUGIN)) << host().lastError();
    ASSERT_TRUE(loaded("hxNoise"));
    EXPECT_EQ(loaded("hxNoise")->nodeTypes, (std::vector<std::string>{"noiseLocator", "hxNoise"}));
}

// The same failures and others, made by a fault plan: what the plug-in reports and returns,
// and that it leaves the host nothing to clean up.
class FailedLoading : public Loading {
protected:
    void expectNothingLeft(const hx::Result& result) {
        EXPECT_FALSE(result);
        EXPECT_TRUE(result.warnings.empty()) << "the host had to remove " << result.warnings[0];
        EXPECT_FALSE(registered("noiseLocator"));
        EXPECT_FALSE(registered("hxNoise"));
        EXPECT_FALSE(loaded("hxNoise"));
    }
};

TEST_F(FailedLoading, TheDeformersRegistrationFailureIsReturnedAfterThePluginWithdrawsTheLocator) {
    hx::FaultPlan faults;
    faults.failCallsOn("MFnPlugin::registerNode", "hxNoise", MStatus::kInsufficientMemory);
    const hx::Result result = load();
    EXPECT_NE(result.error.find("initializePlugin failed: (kInsufficientMemory): MFnPlugin::registerNode: injected "
                                "failure on 'hxNoise'"),
              std::string::npos)
        << result.error;
    EXPECT_EQ(mWritten, "") << "no report of the plug-in's own";
    expectNothingLeft(result);
    EXPECT_EQ(faults.calls("MFnPlugin::deregisterNode"), 1u);
}

TEST_F(FailedLoading, TheLocatorsRegistrationFailureIsReportedAndTheDeformerNeverRegistered) {
    hx::FaultPlan faults;
    faults.failCallsOn("MFnPlugin::registerNode", "noiseLocator");
    const hx::Result result = load();
    EXPECT_EQ(mWritten, "registerNode: (kFailure): MFnPlugin::registerNode: injected failure on 'noiseLocator'\n");
    expectNothingLeft(result);
    EXPECT_EQ(faults.calls("MFnPlugin::registerNode"), 1u) << "the deformer's registration is never tried";
}

TEST_F(FailedLoading, AReportedFlagCallFailsTheTypeAfterEveryAttributeIsMade) {
    // The deformer's seed inputs are made MAKE_INPUT after their creation.
    hx::FaultPlan faults;
    faults.failCallsOn("MFnAttribute::setKeyable", "oyNoiseSeed");
    const hx::Result result = load();
    EXPECT_EQ(mWritten, statusReport(sourceLine("\"NoiseSeed\"", "MAKE_INPUT(nAttr)"),
                                     "(kFailure): MFnAttribute::setKeyable: injected failure on 'oyNoiseSeed'"));
    EXPECT_NE(result.error.find("initialize of node type 'hxNoise' failed"), std::string::npos) << result.error;
    expectNothingLeft(result);
    // The locator's 15 attributes and the deformer's 22 were all made and added.
    EXPECT_EQ(faults.calls("MPxNode::addAttribute"), 15u + 22u);
    EXPECT_EQ(faults.calls("MFnAttribute::setKeyable"), 15u + 18u);
}

TEST_F(FailedLoading, TheLocatorsFailedFlagCallIsReportedAndItsRegistrationToo) {
    // The second setWritable is the X length input's, under MAKE_INPUT.
    hx::FaultPlan faults;
    faults.failCall("MFnAttribute::setWritable", 2);
    const hx::Result result = load();
    EXPECT_EQ(mWritten, statusReport(sourceLine("\"CrvLenIn\"", "MAKE_INPUT(numAttr)"),
                                     "(kFailure): MFnAttribute::setWritable: injected failure on 'oxCrvLenIn'") +
                            "registerNode: (kFailure): plug-in 'hxNoise': initialize of node type 'noiseLocator' "
                            "failed\n");
    expectNothingLeft(result);
    EXPECT_EQ(faults.calls("MPxNode::addAttribute"), 15u);
    EXPECT_EQ(faults.calls("MFnPlugin::registerNode"), 1u);
}

TEST_F(FailedLoading, AnUncheckedFailedCallIsNotReportedButFailsTheType) {
    hx::FaultPlan faults;
    faults.failCallsOn("MPxNode::addAttribute", "oxNoiseFreq");
    const hx::Result result = load();
    EXPECT_EQ(mWritten, "");
    EXPECT_NE(result.error.find("initialize of node type 'hxNoise' failed"), std::string::npos) << result.error;
    expectNothingLeft(result);
}

class FailedUnloading : public FailedLoading {
protected:
    void SetUp() override {
        FailedLoading::SetUp();
        ASSERT_TRUE(host().loadPlugin(HX_NOISE_PLUGIN)) << host().lastError();
    }
    hx::Result unload() {
        return writing([] { return host().unloadPlugin("hxNoise"); });
    }
};

TEST_F(FailedUnloading, TheLocatorGoesFirstAndItsFailureIsReportedAndKeepsBoth) {
    hx::FaultPlan faults;
    faults.failCall("MFnPlugin::deregisterNode", 1);
    const hx::Result result = unload();
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("injected failure on 'noiseLocator'"), std::string::npos) << result.error;
    EXPECT_EQ(mWritten, "deregisterNode: (kFailure): MFnPlugin::deregisterNode: injected failure on 'noiseLocator'\n");
    EXPECT_EQ(faults.calls("MFnPlugin::deregisterNode"), 1u) << "the deformer is not touched";
    EXPECT_TRUE(registered("noiseLocator"));
    EXPECT_TRUE(registered("hxNoise"));
    EXPECT_TRUE(loaded("hxNoise"));
}

TEST_F(FailedUnloading, TheDeformersFailureIsReturnedWithoutAReportAfterTheLocatorWent) {
    hx::FaultPlan faults;
    faults.failCallsOn("MFnPlugin::deregisterNode", "hxNoise", MStatus::kNotFound);
    const hx::Result result = unload();
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("(kNotFound): MFnPlugin::deregisterNode: injected failure on 'hxNoise'"),
              std::string::npos)
        << result.error;
    EXPECT_EQ(mWritten, "");
    EXPECT_FALSE(registered("noiseLocator"));
    EXPECT_TRUE(registered("hxNoise"));
    EXPECT_TRUE(loaded("hxNoise")) << "its deformer type still needs its code";
}

// An unload that failed after the locator went finishes the job when tried again, instead of
// failing on the locator's deregistration for ever and keeping the plug-in loaded.
TEST_F(FailedUnloading, AnUnloadTriedAgainAfterTheDeformerFailedFinishesIt) {
    {
        hx::FaultPlan faults;
        faults.failCallsOn("MFnPlugin::deregisterNode", "hxNoise");
        ASSERT_FALSE(unload());
    }
    const hx::Result result = unload();
    EXPECT_TRUE(result) << result.error;
    EXPECT_EQ(mWritten, "");
    EXPECT_FALSE(registered("hxNoise"));
    EXPECT_FALSE(loaded("hxNoise"));
}
