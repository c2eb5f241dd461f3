// --threads N: how many threads the host lends the deformer. Any number gives the same
// output, byte for byte; only whole numbers from 1 up are taken.
#include "CommandLine.h"
#include "ToolProcess.h"

#include <cmath>
#include <filesystem>
#include <sstream>

using hx::CommandLine;
using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

CommandLine parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "hxnoise");
    return hx::parseCommandLine(static_cast<int>(args.size()), args.data());
}

// A wavy sheet of side x side vertices in triangles: enough points for several tasks.
std::string sheetObj(int side)
{
    std::ostringstream obj;
    obj.precision(9);
    obj << "o sheet\n";
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j)
            obj << "v " << i * 0.0173 - 1.7 << ' ' << 0.2 * std::sin(i * 0.05 + j * 0.031) << ' ' << j * 0.0171 - 1.6
                << '\n';
    for (int i = 0; i + 1 < side; ++i)
        for (int j = 0; j + 1 < side; ++j) {
            const int v = i * side + j + 1;
            obj << "f " << v << ' ' << v + 1 << ' ' << v + side << '\n';
        }
    return obj.str();
}

} // namespace

TEST(ThreadsOption, TakesAWholeNumberOfThreadsFromOne)
{
    EXPECT_EQ(parse({"deform"}).deform.threads, 0u) << "every core unless asked";
    const CommandLine three = parse({"deform", "--threads", "3"});
    ASSERT_EQ(three.action, CommandLine::Action::Run) << three.error;
    EXPECT_EQ(three.deform.threads, 3u);
    EXPECT_EQ(parse({"deform", "--threads", "1024"}).deform.threads, 1024u);

    const std::vector<std::pair<const char*, std::string>> refused = {
        {"0", "--threads 0 is outside 1..1024"},
        {"1025", "--threads 1025 is outside 1..1024"},
        {"-2", "outside 1..1024"},
        {"2.5", "'2.5' is not an integer"},
        {"many", "'many' is not a number"},
    };
    for (const auto& [value, fragment] : refused) {
        const CommandLine cl = parse({"deform", "--threads", value});
        EXPECT_EQ(cl.action, CommandLine::Action::Exit) << value;
        EXPECT_EQ(cl.exitCode, 2) << value;
        EXPECT_NE(cl.error.find(fragment), std::string::npos) << value << ": " << cl.error;
        EXPECT_EQ(cl.error.find('\n'), std::string::npos) << cl.error;
    }
    EXPECT_EQ(parse({"info", "--threads", "2"}).exitCode, 2) << "info evaluates nothing";
    EXPECT_NE(parse({"deform", "--help"}).output.find("--threads"), std::string::npos);
}

TEST(ThreadsOption, OneThreeAndEveryCoreWriteTheSameBytes)
{
    TempDir dir;
    hxtest::writeFile(dir / "sheet.obj", sheetObj(150)); // 22,500 vertices
    const std::vector<std::string> noise = {"--set", "hxNoise1.oxNoiseAmp=0.4",    "--set", "hxNoise1.oyNoiseAmp=0.3",
                                            "--set", "hxNoise1.ozNoiseAmp=0.5",    "--set", "hxNoise1.oyNoiseOctaves=6",
                                            "--set", "transform1.rotate=20,-30,45"};
    std::map<std::string, std::string> written;
    for (const std::vector<std::string>& threads :
         {std::vector<std::string>{"--threads", "1"}, {"--threads", "3"}, {}}) {
        // Each run in a folder of its own, so that the recipe at the file's top names the same
        // input and output and only the threads differ.
        const std::string name = threads.empty() ? "every.obj" : "threads" + threads[1] + ".obj";
        std::filesystem::create_directory(dir.path() / name);
        std::vector<std::string> args = {"deform", "../sheet.obj", "-o", "out.obj"};
        args.insert(args.end(), noise.begin(), noise.end());
        args.insert(args.end(), threads.begin(), threads.end());
        const ToolRun run = runTool(args, dir.path() / name);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err.find("thread pool"), std::string::npos) << run.err;
        written[name] = hxtest::readFile(dir.path() / name / "out.obj");
    }
    EXPECT_EQ(written["threads1.obj"].size(), written["threads3.obj"].size());
    EXPECT_TRUE(written["threads1.obj"] == written["threads3.obj"]) << "--threads 1 and --threads 3 differ";
    EXPECT_TRUE(written["threads1.obj"] == written["every.obj"]) << "--threads 1 and every core differ";
    EXPECT_NE(written["threads1.obj"].find("\nf "), std::string::npos);
    EXPECT_FALSE(written["threads1.obj"] == hxtest::readFile(dir / "sheet.obj")) << "the noise moved the sheet";
}
