// `hxnoise view` run as a process on an X display of the test's own (Xvfb): its snapshot shows
// the viewport and the panel, a --set changes both, and the panel holds the registry's values.
#include "PngImage.h"
#include "ToolProcess.h"
#include "VirtualDisplay.h"

#include <engine/Host.h>

#include <cstdlib>
#include <map>
#include <sstream>

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

const char* kCube =
    "o box\n"
    "v -0.5 -0.5 0.5\nv 0.5 -0.5 0.5\nv -0.5 0.5 0.5\nv 0.5 0.5 0.5\n"
    "v -0.5 0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\n"
    "f 1 2 4 3\nf 3 4 6 5\nf 5 6 8 7\nf 7 8 2 1\nf 2 8 6 4\nf 7 1 3 5\n";

// The panel's lines of a snapshot run: "hxNoise1.oxNoiseAmp" -> "0.5 (...)".
std::map<std::string, std::string> panelLines(const std::string& out)
{
    std::map<std::string, std::string> lines;
    std::istringstream text(out.substr(out.find("panel:\n") == std::string::npos ? out.size() : out.find("panel:\n")));
    std::string line;
    while (std::getline(text, line)) {
        const std::size_t equals = line.find(" = ");
        if (line.rfind("  ", 0) != 0 || equals == std::string::npos) continue;
        lines[line.substr(2, equals - 2)] = line.substr(equals + 3);
    }
    return lines;
}

// A window is 900 x 600; its panel takes the right 324 pixels.
constexpr int kWidth = 900, kHeight = 600, kPanelLeft = 576;

class ViewWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!mDisplay.ready()) GTEST_SKIP() << "no X display for the window: " << mDisplay.whyNot();
        ::setenv("DISPLAY", mDisplay.display().c_str(), 1);
        // Under the sanitizers: Mesa's GLX driver (swrast_dri.so) keeps two small blocks of its
        // own and is unloaded when the window closes, before the leak report, so no suppression
        // can name it. The window's process is not leak-checked; the scene it runs is, in
        // SceneWorkerTest and PanelTest.
        const char* leakOptions = std::getenv("LSAN_OPTIONS");
        const std::string childLeakOptions = std::string(leakOptions ? leakOptions : "") + ":detect_leaks=0";
        ::setenv("LSAN_OPTIONS", childLeakOptions.c_str(), 1);
        hxtest::writeFile(mDir / "box.obj", kCube);
    }

    ToolRun snapshot(std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {"view", "box.obj", "--snapshot", "shot.png", "--size", "900x600"};
        args.insert(args.end(), more.begin(), more.end());
        return runTool(args, mDir.path());
    }

    hxtest::VirtualDisplay mDisplay;
    TempDir mDir;
};

bool isHostBackground(const std::uint8_t* p)
{
    return p[0] == p[1] && p[1] == p[2] && std::abs(p[0] - 92) <= 1;
}

} // namespace

TEST_F(ViewWindow, ASnapshotShowsTheViewportAndThePanel)
{
    const ToolRun run = snapshot();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("wrote shot.png (900x600, the window)"), std::string::npos) << run.out;
    const hxtest::Image shot = hxtest::readPng(mDir / "shot.png");
    ASSERT_EQ(shot.width, kWidth);
    ASSERT_EQ(shot.height, kHeight);

    // The viewport: the host's grey background, and the lit box, lighter, in its middle.
    int background = 0, lit = 0;
    for (int y = 40; y < kHeight - 40; ++y)
        for (int x = 10; x < kPanelLeft - 10; ++x) {
            const std::uint8_t* p = shot.at(x, y);
            background += isHostBackground(p);
            lit += p[0] == p[1] && p[1] == p[2] && p[0] > 130;
        }
    EXPECT_GT(background, 20000);
    EXPECT_GT(lit, 20000);

    // The panel: dark, with light text on it, and none of the viewport's grey.
    int dark = 0, text = 0, grey = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = kPanelLeft + 4; x < kWidth; ++x) {
            const std::uint8_t* p = shot.at(x, y);
            dark += p[0] < 50 && p[1] < 50 && p[2] < 70;
            text += p[0] > 180 && p[1] > 180 && p[2] > 180;
            grey += isHostBackground(p);
        }
    EXPECT_GT(dark, 50000);
    EXPECT_GT(text, 1000);
    EXPECT_LT(grey, 200);
    EXPECT_TRUE(hxtest::hiddenFiles(mDir.path()).empty());
}

TEST_F(ViewWindow, ASetChangesThePictureAndThePanel)
{
    ASSERT_EQ(snapshot().exitCode, 0);
    const hxtest::Image plain = hxtest::readPng(mDir / "shot.png");
    const ToolRun run = snapshot({"--set", "hxNoise1.oyNoiseAmp=0.5", "--set", "hxNoise1.oxNoiseAmp=0.5"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("set hxNoise1.oyNoiseAmp = 0.5"), std::string::npos);
    const hxtest::Image noisy = hxtest::readPng(mDir / "shot.png");
    ASSERT_EQ(noisy.rgba.size(), plain.rgba.size());
    int changed = 0;
    for (int y = 60; y < kHeight - 40; ++y)
        for (int x = 0; x < kPanelLeft; ++x) changed += std::memcmp(plain.at(x, y), noisy.at(x, y), 3) != 0;
    EXPECT_GT(changed, 2000);

    const std::map<std::string, std::string> panel = panelLines(run.out);
    EXPECT_EQ(panel.at("hxNoise1.oyNoiseAmp"), "0.5");
    EXPECT_EQ(panel.at("hxNoise1.ozNoiseAmp"), "0");
}

TEST_F(ViewWindow, ThePanelHoldsTheRegistrysAttributesDefaultsAndLimits)
{
    const ToolRun run = snapshot({"--frames", "1-5", "--key", "transform1.tx=0:1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::map<std::string, std::string> panel = panelLines(run.out);

    hx::Host& host = hx::Host::instance();
    host.reset();
    ASSERT_TRUE(host.loadPlugin(HX_PLUGIN));
    int compared = 0;
    for (const auto& [node, type] : {std::pair{"hxNoise1", "hxNoise"}, std::pair{"transform1", "transform"},
                                     std::pair{"noiseLocator1", "noiseLocator"}}) {
        const hx::NodeTypeInfo info = *host.nodeType(type);
        for (const hx::AttributeInfo& a : info.attributes) {
            if (!a.writable || a.hidden || a.kind != "numeric" || a.defaultValue.size() != 1) continue;
            if (a.parent == "weightList" || a.parent == "input") continue; // elements of arrays
            const std::string plug = std::string(node) + "." + a.longName;
            ASSERT_TRUE(panel.count(plug)) << plug << " is not in the panel";
            const std::string& shown = panel.at(plug);
            if (shown.find("(from ") != std::string::npos) continue; // driven: its source's value
            if (shown.find("(keyed)") != std::string::npos) continue;
            std::ostringstream expected;
            expected.precision(9);
            expected << a.defaultValue[0];
            EXPECT_EQ(shown.substr(0, shown.find(' ')), expected.str()) << plug;
            if (a.min && a.max) {
                std::ostringstream limits;
                limits << " (" << *a.min << ".." << *a.max << ")";
                EXPECT_NE(shown.find(limits.str()), std::string::npos) << plug << ": " << shown;
            }
            ++compared;
        }
    }
    host.reset();
    EXPECT_GT(compared, 25);
    // What cannot be edited says why.
    EXPECT_EQ(panel.at("hxNoise1.oxLength"), "1 (from noiseLocator1.oxCrvLenOut)");
    EXPECT_EQ(panel.at("transform1.translateX"), "0 (keyed)");
    EXPECT_EQ(panel.at("hxNoise1.oxNoiseOctaves"), "4 (1..10)");
}

TEST_F(ViewWindow, WithoutADisplayItSaysSoInOneLine)
{
    ::unsetenv("DISPLAY");
    const ToolRun run = runTool({"view", "box.obj"}, mDir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("hxnoise: cannot open a window: ", 0), 0u) << run.err;
    EXPECT_EQ(hxtest::lineCount(run.err), 1u) << run.err;
}

TEST(ViewCommand, MistakesAreRefusedBeforeAnyWindowOpens)
{
    TempDir dir;
    hxtest::writeFile(dir / "box.obj", kCube);
    ::unsetenv("DISPLAY"); // were a window to open, the run would fail otherwise
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"view", "box.obj", "--set", "hxNoise1.oyNoiseAmq=1"}, "unknown attribute 'oyNoiseAmq'"},
        {{"view", "box.obj", "--key", "transform1.tx=0:1"}, "--key needs --frames"},
        {{"view", "box.obj", "--view", "bottom"}, "--view 'bottom' is not persp, top, front or side"},
        {{"view", "box.obj", "--hud", "maybe"}, "--hud 'maybe' is not on or off"},
        {{"view", "box.obj", "--snapshot", "box.obj"}, "--snapshot"},
        {{"view", "box.obj", "--snapshot", "shot.jpg"}, "shot.jpg"},
        {{"view", "box.obj", "--config", "missing.toml"}, "missing.toml"},
    };
    for (const auto& [args, fragment] : cases) {
        const ToolRun run = runTool(args, dir.path());
        EXPECT_NE(run.exitCode, 0) << args.back();
        EXPECT_LE(run.exitCode, 2) << args.back();
        EXPECT_NE(run.err.find(fragment), std::string::npos) << args.back() << ": " << run.err;
        EXPECT_EQ(hxtest::lineCount(run.err), 1u) << run.err;
        EXPECT_EQ(run.err.find("cannot open a window"), std::string::npos) << run.err;
    }
    EXPECT_EQ(runTool({"view", "box.obj", "--set", "hxNoise1.oyNoiseAmq=1"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runTool({"view", "box.obj", "--snapshot", "box.obj"}, dir.path()).exitCode, 2);
    EXPECT_EQ(hxtest::readFile(dir / "box.obj"), kCube);
}
