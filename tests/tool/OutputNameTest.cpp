// The file each frame writes: # runs for the pipeline's frame numbers, _NNNN otherwise.
#include "OutputName.h"
#include "Refusal.h"
#include "ValueParse.h"

#include <gtest/gtest.h>

#include <algorithm>

using hx::framePath;
using hx::parseFrameRange;

namespace {

// The names the tool gave runs of frames 1..N before a frame range could be named: at least
// four digits, more when N needs them, before the file name's last extension.
std::string namesOfFramesOneToN(const std::string& path, int frame, int frameCount)
{
    const std::size_t digits = std::max<std::size_t>(4, std::to_string(frameCount).size());
    std::string number = std::to_string(frame);
    number.insert(0, digits > number.size() ? digits - number.size() : 0, '0');
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart) dot = path.size();
    return path.substr(0, dot) + "_" + number + path.substr(dot);
}

} // namespace

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
    // The same names as runs of frames 1..N always had.
    for (const char* path : {"out.obj", "renders/IMAGE.png", "shot.v2/frame", ".hidden", "a.b.c", "dir/.obj"})
        for (int frames : {1, 24, 9999, 12000, 100000})
            for (int frame : {1, frames / 2 + 1, frames})
                EXPECT_EQ(framePath(path, frame, parseFrameRange(std::to_string(frames))),
                          namesOfFramesOneToN(path, frame, frames))
                    << path << " " << frame << "/" << frames;

    EXPECT_EQ(framePath("out.obj", 1, parseFrameRange("24")), "out_0001.obj");
    EXPECT_EQ(framePath("renders/IMAGE.png", 12, parseFrameRange("100")), "renders/IMAGE_0012.png");
    EXPECT_EQ(framePath("shot.v2/frame", 3, parseFrameRange("10")), "shot.v2/frame_0003");
    EXPECT_EQ(framePath(".hidden", 3, parseFrameRange("10")), ".hidden_0003");
    EXPECT_EQ(framePath("a.obj", 7, parseFrameRange("12000")), "a_00007.obj");
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
        if (const auto message = hxtest::refusal(path, [&] { framePath(path, 1, shot, "--render"); })) {
            EXPECT_EQ(message->rfind("--render '" + path + "'", 0), 0u) << *message;
            EXPECT_NE(message->find(fragment), std::string::npos) << *message;
        }
    }
}
