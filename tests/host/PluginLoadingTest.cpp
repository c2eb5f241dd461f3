// Loading plug-ins with dlopen, registering their node types, and every way that can fail.
#include "HostFixture.h"

#include <fstream>

using PluginLoading = HostTest;

TEST_F(PluginLoading, LoadRegistersTheTypesAndUnloadRemovesThem) {
    ASSERT_TRUE(host().loadPlugin(testPlugin("TestNodes"))) << host().lastError();
    EXPECT_TRUE(hasType("testSum"));
    EXPECT_TRUE(hasType("testLocator"));
    EXPECT_TRUE(hasType("testDeformer"));
    ASSERT_EQ(host().plugins().size(), 1u);
    const hx::PluginInfo info = host().plugins()[0];
    EXPECT_EQ(info.name, "TestNodes");
    EXPECT_EQ(info.vendor, "hxNoise tests");
    EXPECT_EQ(info.version, "1.0");
    EXPECT_EQ(info.apiVersion, "201217");
    EXPECT_EQ(info.nodeTypes, (std::vector<std::string>{"testSum", "testLocator", "testDeformer"}));

    ASSERT_TRUE(host().unloadPlugin("TestNodes")) << host().lastError();
    EXPECT_FALSE(hasType("testSum"));
    EXPECT_TRUE(host().plugins().empty());
    EXPECT_EQ(pluginVariable<int>("TestNodes", "hxTestComputeCalls"), nullptr) << "the library stays mapped";

    // And it loads again after an unload.
    EXPECT_TRUE(host().loadPlugin(testPlugin("TestNodes"))) << host().lastError();
}

TEST_F(PluginLoading, FailuresNameThePluginAndTheCause) {
    struct Case {
        std::string path;
        std::string cause;
    };
    const std::string textFile = testing::TempDir() + "/notAPlugin.so";
    std::ofstream(textFile) << "plain text, not a shared object\n";
    const Case cases[] = {
        {testPlugin("Missing"), "no such file"},
        {textFile, "notAPlugin"},
        {testPlugin("NoEntryPoints"), "does not define initializePlugin"},
        {testPlugin("WrongVersion"), "201602"},
        {testPlugin("FailingInitialize"), "initializePlugin failed"},
    };
    for (const Case& c : cases) {
        hx::Result result = host().loadPlugin(c.path);
        EXPECT_FALSE(result) << c.path;
        const std::string name = c.path.substr(c.path.rfind('/') + 1, c.path.rfind('.') - c.path.rfind('/') - 1);
        EXPECT_NE(result.error.find("'" + name + "'"), std::string::npos) << result.error;
        EXPECT_NE(result.error.find(c.cause), std::string::npos) << result.error;
    }
    EXPECT_TRUE(host().plugins().empty());
}

TEST_F(PluginLoading, AFailedInitializeLeavesNothingRegistered) {
    hx::Result result = host().loadPlugin(testPlugin("FailingInitialize"));
    EXPECT_FALSE(result);
    EXPECT_EQ(result.warnings, std::vector<std::string>{"plug-in 'FailingInitialize' left node type 'leftoverNode' "
                                                        "registered after its initializePlugin failed; removed"});
    EXPECT_FALSE(hasType("leftoverNode"));
    EXPECT_EQ(pluginVariable<int>("FailingInitialize", "hxNothing"), nullptr);
    EXPECT_FALSE(host().createNode("leftoverNode"));
}

TEST_F(PluginLoading, RegistrationRefusesDuplicatesAndFailedInitialisers) {
    ASSERT_TRUE(host().loadPlugin(testPlugin("RegistryProbe"))) << host().lastError();
    const int* results = pluginVariable<int>("RegistryProbe", "hxProbeResults");
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results[0], MStatus::kSuccess) << "first registration";
    EXPECT_EQ(results[1], MStatus::kFailure) << "same name again";
    EXPECT_EQ(results[2], MStatus::kFailure) << "same id again";
    EXPECT_EQ(results[3], MStatus::kFailure) << "initialize failed";
    EXPECT_NE(results[4], MStatus::kSuccess) << "deregistering an unknown id";
    EXPECT_EQ(results[5], MStatus::kFailure) << "an attribute name already taken";
    EXPECT_EQ(*pluginVariable<int>("RegistryProbe", "hxProbeInitializeCalls"), 1);
    EXPECT_TRUE(hasType("probeNode"));
    EXPECT_FALSE(hasType("probeOther"));
    EXPECT_FALSE(hasType("probeFailing"));
}

TEST_F(PluginLoading, APluginInUseStaysLoaded) {
    loadTestNodes();
    std::string node = create("testSum");
    hx::Result result = host().unloadPlugin("TestNodes");
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find(node), std::string::npos) << result.error;
    EXPECT_TRUE(hasType("testSum"));

    ASSERT_TRUE(host().deleteNode(node));
    EXPECT_TRUE(host().unloadPlugin("TestNodes")) << host().lastError();
}

TEST_F(PluginLoading, LoadingTwiceOrUnloadingUnknownFails) {
    loadTestNodes();
    EXPECT_FALSE(host().loadPlugin(testPlugin("TestNodes")));
    EXPECT_EQ(host().plugins().size(), 1u);
    EXPECT_FALSE(host().unloadPlugin("NeverLoaded"));
}
