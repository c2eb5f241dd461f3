// The file each frame writes: # runs for the pipeline's frame numbers, _NNNN otherwise.
#include "NumberedPath.h"
#include "OutputName.h"
#include "ValueParse.h"

#include <gtest/gtest.h>

using hx::framePath;
using hx::parseFrameRange;

TEST(OutputName, ARunOfHashesIsTheZeroPaddedFrameNumber)
{
    const hx::FrameRange shot = parseFrameRange("1001-1100");
    EXPECT_EQ(framePath("shot.####.obj", 1001, shot), "shot.1001.obj");
    EXPECT_EQ(framePath("renders/shot_v2.######.png", 1001, shot), "renders/shot_v2.001001.png");
    EXPECT_EQ(framePath("f#.obj", 7, shot), "f7.obj");
    // More digits than #: the number is never cut.
    EXPECT_EQ(framePath("shot.##.obj", 12345, shot), "shot.12345.obj");
    EXPECT_EQ(framePath("####", 42, shot), "0042");
    // The minus sign counts towards the width, as with printf's %04d.
    EXPECT_EQ(framePath("pre.####.obj", -5, parseFrameRange("-10-10")), "pre.-005.obj");
    EXPECT_EQ(hx::paddedFrame(-12345, 4), "-12345");
    // A name of a frame does not depend on the range it is in.
    EXPECT_EQ(framePath("s.####.obj", 1030, parseFrameRange("1026-1050")), framePath("s.####.obj", 1030, shot));
}

TEST(OutputName, ANameWithoutHashesGetsTheNumberedSuffixAsBefore)
{
    // The same names numberedPath gave runs of frames 1..N.
    for (const char* path : {"out.obj", "renders/IMAGE.png", "shot.v2/frame", ".hidden", "a.b.c", "dir/.obj"})
        for (int frames : {1, 24, 9999, 12000, 100000})
            for (int frame : {1, frames / 2 + 1, frames})
                EXPECT_EQ(framePath(path, frame, parseFrameRange(std::to_string(frames))),
                          hx::numberedPath(path, frame, frames))
                    << path << " " << frame << "/" << frames;

    EXPECT_EQ(framePath("out.obj", 1001, parseFrameRange("1001-1100")), "out_1001.obj");
    EXPECT_EQ(framePath("out.obj", -3, parseFrameRange("-10-5")), "out_-003.obj");
}

TEST(OutputName, RefusesHashesItCannotPlace)
{
    const hx::FrameRange shot = parseFrameRange("1-10");
    EXPECT_TRUE(hx::hasFrameNumber("a/b.##.obj"));
    EXPECT_FALSE(hx::hasFrameNumber("a/b.obj"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"shot.##.##.obj", "more than one run of #"},
        {"#a#.obj", "more than one run of #"},
        {"frames.####/out.obj", "# in a folder name"},
        {"take#2/shot.####.obj", "# in a folder name"},
    };
    for (const auto& [path, fragment] : cases) {
        try {
            framePath(path, 1, shot, "--render");
            ADD_FAILURE() << path << " was accepted";
        } catch (const hx::UsageError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("--render '" + path + "'", 0), 0u) << message;
            EXPECT_NE(message.find(fragment), std::string::npos) << message;
        }
    }
}
