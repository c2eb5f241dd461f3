// `hxnoise info` and `--help` run as a process: what the registry holds, and how to call
// the tool.
#include "ToolProcess.h"

#include <GlRecorder.h>
#include <engine/Host.h>

#include <sstream>

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

// The table row of an attribute: its words, or empty when there is none.
std::vector<std::string> rowOf(const std::string& table, const std::string& longName)
{
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> row;
        for (std::string word; words >> word;) row.push_back(word);
        if (!row.empty() && row[0] == longName) return row;
    }
    return {};
}

} // namespace

TEST(HxnoiseInfo, ListsTheTypesTheHostAndThePlugInRegister)
{
    TempDir dir;
    const ToolRun run = runTool({"info"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(rowOf(run.out, "hxNoise"), (std::vector<std::string>{"hxNoise", "deformer", "plug-in", "hxNoise"}));
    EXPECT_EQ(rowOf(run.out, "noiseLocator"),
              (std::vector<std::string>{"noiseLocator", "locator", "plug-in", "hxNoise"}));
    EXPECT_EQ(rowOf(run.out, "transform"), (std::vector<std::string>{"transform", "transform", "the", "host"}));
}

TEST(HxnoiseInfo, ListsEveryAttributeOfATypeWithNamesLimitsFlagsAndWhatItAffects)
{
    TempDir dir;
    const ToolRun run = runTool({"info", "hxNoise"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // Octaves: an int from 1 to 10, default 4, keyable, moving the geometry and the other
    // axes' curves.
    EXPECT_EQ(rowOf(run.out, "oxNoiseOctaves"),
              (std::vector<std::string>{"oxNoiseOctaves", "xno", "int", "4", "1", "10", "ksrwc--",
                                        "oyVisualisationPoints,", "ozVisualisationPoints,", "outputGeometry"}));
    // The deformer base's envelope, with the host's names.
    EXPECT_EQ(rowOf(run.out, "envelope"),
              (std::vector<std::string>{"envelope", "en", "float", "1", "0", "1", "ksrwc--", "outputGeometry"}));
    EXPECT_EQ(rowOf(run.out, "outputGeometry").at(1), "og");

    // Every attribute the registry holds is there, under its long and short names.
    hx::gl::clearRecordedCalls(); // the recorder supplies the GL entry points the plug-in needs
    hx::Host& host = hx::Host::instance();
    host.reset();
    ASSERT_TRUE(host.loadPlugin(HX_PLUGIN)) << host.lastError();
    const auto type = host.nodeType("hxNoise");
    ASSERT_TRUE(type);
    for (const hx::AttributeInfo& a : type->attributes) {
        const std::vector<std::string> row = rowOf(run.out, a.longName);
        ASSERT_GE(row.size(), 2u) << a.longName << " is missing";
        EXPECT_EQ(row[1], a.shortName) << a.longName;
    }
    host.reset();
}

TEST(HxnoiseInfo, HelpDocumentsEveryOptionWithAnExample)
{
    TempDir dir;
    const ToolRun run = runTool({"deform", "--help"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string text, line;
    while (std::getline(lines, line)) text += line + " ";
    for (const std::string option :
         {"-o,--output", "--set", "--render", "--view", "--size", "--frames", "--key", "--plugin"}) {
        const std::size_t at = text.find(option + " ");
        ASSERT_NE(at, std::string::npos) << option;
        const std::size_t next = text.find("  --", at + option.size());
        EXPECT_NE(text.substr(at, next - at).find("e.g."), std::string::npos) << option << " has no example";
    }
    EXPECT_NE(text.find("Exit codes"), std::string::npos);
}
