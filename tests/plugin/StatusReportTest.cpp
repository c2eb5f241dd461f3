// The status-check reports name the plug-in's source as its own layout does
// ("../src/HXNoise.cpp"), not as a path of the machine that built it.
#include "PluginFixture.h"

#include <fstream>
#include <iterator>

TEST(StatusReport, TheModuleNamesItsSourceAsThePluginsLayoutDoes) {
    std::ifstream module(HX_NOISE_PLUGIN, std::ios::binary);
    ASSERT_TRUE(module) << HX_NOISE_PLUGIN;
    const std::string bytes((std::istreambuf_iterator<char>(module)), std::istreambuf_iterator<char>());
    // The file name the reports print is a string of its own in the module.
    const std::string fileName("../src/HXNoise.cpp", sizeof "../src/HXNoise.cpp");  // with its terminator
    EXPECT_NE(bytes.find(fileName), std::string::npos);
    EXPECT_NE(bytes.find("\nAPI error detected in "), std::string::npos);
}
