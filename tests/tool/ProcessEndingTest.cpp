// Every way an `hxnoise deform` run can end early, run as a process: interrupted by SIGINT
// or SIGTERM in a long sequence, a standard output or error whose reader has gone, the
// file-size limit, running out of memory. Each says why in one line, ends non-zero and
// leaves no temporary file; an interrupted sequence says which frames it wrote.
#include "ToolProcess.h"

#include <regex>

using hxtest::kTetrahedron;
using hxtest::runTool;
using hxtest::runToolWith;
using hxtest::TempDir;
using hxtest::ToolOptions;
using hxtest::ToolRun;
namespace fs = hxtest::fs;

namespace {

std::string frameName(int frame, const char* extension)
{
    char name[32];
    std::snprintf(name, sizeof name, "anim_%04d.%s", frame, extension);
    return name;
}

bool builtWithAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

} // namespace

TEST(ProcessEnding, AnInterruptedSequenceSaysWhichFramesWereWrittenAndLeavesNoTemporary)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        TempDir dir;
        hxtest::writeFile(dir / "tet.obj", kTetrahedron);
        ToolOptions interrupt;
        // Once two frames are there, the run is well under way.
        interrupt.whileRunning = [&](pid_t pid) {
            if (!fs::exists(dir / frameName(2, "png"))) return false;
            ::kill(pid, signal);
            return true;
        };
        const ToolRun run = runToolWith({"deform", "tet.obj", "-o", "anim.obj", "--render", "anim.png", "--size",
                                         "32x32", "--frames", "5000", "--key", "hxNoise1.oxNoiseAmp=0:1"},
                                        dir.path(), interrupt);
        EXPECT_EQ(run.signal, signal) << "ends by the signal, as the shell expects; " << run.err;

        // One line, and it names the frames that are there.
        const std::regex said(
            "hxnoise: interrupted by SIG(INT|TERM); frames 1\\.\\.([0-9]+) of 5000 were written "
            "\\(anim_0001\\.obj \\.\\. anim_([0-9]+)\\.obj\\)\n");
        std::smatch match;
        ASSERT_TRUE(std::regex_match(run.err, match, said)) << run.err;
        const int written = std::stoi(match[2]);
        EXPECT_EQ(std::stoi(match[3]), written);
        EXPECT_GE(written, 2);
        for (int frame = 1; frame <= written; ++frame) {
            EXPECT_EQ(hxtest::readFile(dir / frameName(frame, "obj")).rfind("# written by hxnoise\n", 0), 0u) << frame;
            EXPECT_TRUE(fs::exists(dir / frameName(frame, "png"))) << frame;
        }
        EXPECT_FALSE(fs::exists(dir / frameName(written + 1, "obj")));
        EXPECT_FALSE(fs::exists(dir / frameName(written + 1, "png")));
        EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());
    }
}

TEST(ProcessEnding, AStandardOutputOrErrorWithoutAReaderFailsTheRunBeforeAnyFile)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTetrahedron);

    ToolOptions noReader;
    noReader.closedOutput = true;
    const ToolRun output = runToolWith({"deform", "tet.obj", "-o", "out.obj"}, dir.path(), noReader);
    EXPECT_EQ(output.exitCode, 1);
    EXPECT_EQ(output.err, "hxnoise: cannot write to standard output: Broken pipe\n");
    EXPECT_FALSE(fs::exists(dir / "out.obj"));

    // Standard error is needed once there is a warning to give (an octave count clamped);
    // the line that says it cannot be written goes to standard output instead.
    noReader = ToolOptions();
    noReader.closedError = true;
    const ToolRun error = runToolWith({"deform", "tet.obj", "-o", "out.obj", "--set", "hxNoise1.oxNoiseOctaves=11"},
                                      dir.path(), noReader);
    EXPECT_EQ(error.exitCode, 1);
    const std::string last = "hxnoise: cannot write to standard error: Broken pipe\n";
    ASSERT_GE(error.out.size(), last.size()) << error.out;
    EXPECT_EQ(error.out.substr(error.out.size() - last.size()), last);
    EXPECT_FALSE(fs::exists(dir / "out.obj"));
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());
}

TEST(ProcessEnding, TheFileSizeLimitFailsTheRunWithOneLine)
{
    TempDir dir;
    hxtest::writeFile(dir / "big.obj", "precious\n");
    ToolOptions limited;
    limited.fileSize = 64 * 1024; // the bundled mesh takes a few hundred kilobytes
    const ToolRun run = runToolWith({"deform", "-o", "big.obj"}, dir.path(), limited);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "hxnoise: cannot write big.obj: File too large\n");
    EXPECT_EQ(hxtest::readFile(dir / "big.obj"), "precious\n");
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());
}

TEST(ProcessEnding, RunningOutOfMemoryWhileRenderingSaysSoInOneLine)
{
    if (builtWithAddressSanitizer())
        GTEST_SKIP() << "the address sanitizer reserves more address space than any limit would leave";
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTetrahedron);

    // The least address space, in steps of 64 MiB, in which a run without a picture
    // succeeds: the libraries alone (Mesa's among them) take a few hundred megabytes.
    ToolOptions limited;
    for (rlim_t mib = 256; mib <= 1024; mib += 64) {
        limited.addressSpace = mib << 20;
        if (runToolWith({"deform", "tet.obj", "-o", "probe.obj"}, dir.path(), limited).exitCode == 0) break;
    }
    ASSERT_EQ(runToolWith({"deform", "tet.obj", "-o", "probe.obj"}, dir.path(), limited).exitCode, 0);
    fs::remove(dir / "probe.obj");

    // Pictures a little and far too large for what is left, in every stage of rendering
    // that the sizes reach.
    for (const char* size : {"2048x2048", "4096x4096", "8192x8192"}) {
        SCOPED_TRACE(size);
        for (int extra = 0; extra <= 192; extra += 96) {
            ToolOptions tighter = limited;
            tighter.addressSpace = *limited.addressSpace + (rlim_t(extra) << 20);
            const ToolRun run = runToolWith(
                {"deform", "tet.obj", "-o", "out.obj", "--render", "out.png", "--size", size}, dir.path(), tighter);
            if (run.exitCode == 0) {
                fs::remove(dir / "out.obj");
                fs::remove(dir / "out.png");
                continue; // it fitted
            }
            EXPECT_EQ(run.exitCode, 1) << "+" << extra << " MiB: " << run.err;
            EXPECT_EQ(hxtest::lineCount(run.err), 1u) << run.err;
            EXPECT_NE(run.err.find("memory"), std::string::npos) << run.err;
            EXPECT_FALSE(fs::exists(dir / "out.obj"));
            EXPECT_FALSE(fs::exists(dir / "out.png"));
            EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());
        }
    }
}
