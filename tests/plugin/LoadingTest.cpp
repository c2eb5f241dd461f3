// Loading and unloading hxNoise.so: what it registers, in which order, and what a load that
// fails half-way leaves behind.
#include "PluginFixture.h"

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
    StderrCapture mStderr;
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

    mStderr.start();
    hx::Result result = host().loadPlugin(HX_NOISE_PLUGIN);
    const std::string written = mStderr.finish();

    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("initializePlugin failed"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("'noiseLocator' is already registered"), std::string::npos)
        << "the status returned is the locator's: " << result.error;
    EXPECT_EQ(written, "registerNode: (kFailure): plug-in 'hxNoise': node type 'noiseLocator' is already registered\n");
    EXPECT_FALSE(registered("hxNoise")) << "the deformer is never registered";
    EXPECT_FALSE(loaded("hxNoise"));
    EXPECT_EQ(host().nodeType("noiseLocator")->plugin, "LocatorNameTaken");
}

TEST_F(Loading, AFailedDeformerRegistrationRollsTheLocatorBackAndReturnsTheDeformersStatus) {
    // Another plug-in holds the type id 0xA1.
    ASSERT_TRUE(host().loadPlugin(helperPlugin("DeformerIdTaken"))) << host().lastError();

    mStderr.start();
    hx::Result result = host().loadPlugin(HX_NOISE_PLUGIN);
    const std::string written = mStderr.finish();

    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("type id 0xa1 of 'hxNoise' is already used by node type 'idSquatter'"),
              std::string::npos)
        << result.error;
    EXPECT_EQ(written, "") << "the deformer's failure is returned without a report of its own";
    EXPECT_FALSE(registered("noiseLocator"));
    EXPECT_FALSE(registered("hxNoise"));
    EXPECT_TRUE(registered("idSquatter"));

    // Once the id is free again the plug-in loads whole.
    ASSERT_TRUE(host().unloadPlugin("DeformerIdTaken")) << host().lastError();
    ASSERT_TRUE(host().loadPlugin(HX_NOISE_PLUGIN)) << host().lastError();
    ASSERT_TRUE(loaded("hxNoise"));
    EXPECT_EQ(loaded("hxNoise")->nodeTypes, (std::vector<std::string>{"noiseLocator", "hxNoise"}));
}
