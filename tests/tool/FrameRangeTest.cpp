// Frame ranges as --frames and --step give them, and the chunks a farm splits them into.
#include "CommandLine.h"
#include "FrameRange.h"
#include "Refusal.h"
#include "ValueParse.h"

#include <gtest/gtest.h>

using hx::FrameRange;
using hx::parseFrameRange;

TEST(FrameRange, ReadsACountOrAShotRangeWithAStep)
{
    EXPECT_EQ(parseFrameRange("24"), parseFrameRange("1-24"));
    EXPECT_EQ(parseFrameRange("3").frames(), (std::vector<int>{1, 2, 3}));

    const FrameRange shot = parseFrameRange("1001-1100");
    EXPECT_EQ(shot.count(), 100);
    EXPECT_EQ(shot.frame(0), 1001);
    EXPECT_EQ(shot.lastFrame(), 1100);

    // Every second frame from the first: 1100 is past the step, and not evaluated.
    const FrameRange twos = parseFrameRange("1001-1100", 2);
    EXPECT_EQ(twos.count(), 50);
    EXPECT_EQ(twos.lastFrame(), 1099);
    EXPECT_TRUE(twos.contains(1003));
    EXPECT_FALSE(twos.contains(1004));
    EXPECT_FALSE(twos.contains(1101));

    // A pre-roll before frame 0, a single frame, and a step wider than the range.
    EXPECT_EQ(parseFrameRange("-2-1").frames(), (std::vector<int>{-2, -1, 0, 1}));
    EXPECT_EQ(parseFrameRange("-20--18").frames(), (std::vector<int>{-20, -19, -18}));
    EXPECT_EQ(parseFrameRange("1050-1050").frames(), (std::vector<int>{1050}));
    EXPECT_EQ(parseFrameRange("1-10", 100).frames(), (std::vector<int>{1}));
    EXPECT_EQ(hx::parseStep("+3"), 3);

    // Its text reads back as the same range.
    EXPECT_EQ(parseFrameRange(parseFrameRange("-5-7", 3).text(), 3), parseFrameRange("-5-7", 3));
}

TEST(FrameRange, RefusesWhatIsNoRangeWithOneLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "--frames 0 is outside 1..100000"},
        {"-5", "is outside 1..100000"},
        {"100001", "is outside 1..100000"},
        {"1100-1001", "ends before it starts"},
        {"1001-", "--frames last frame is empty"},
        {"1.5-3", "'1.5' is not an integer"},
        {"1-1e3", "'1e3' is not an integer"},
        {"1-2-3", "'2-3' is not a number"},
        {"1-10000001", "frame 10000001 is outside -9999999..9999999"},
        {"1-200000", "is 200000 frames, more than the 100000"},
        {"shot", "'shot' is not a number"},
    };
    for (const auto& [text, fragment] : cases) hxtest::expectRefusal(text, fragment, [&] { parseFrameRange(text); });
    // A step makes a long range fit.
    EXPECT_EQ(parseFrameRange("1-200000", 2).count(), hx::kMaxFrames);
    for (const char* step : {"0", "-1", "1.5", "10000000"}) EXPECT_THROW(hx::parseStep(step), hx::UsageError) << step;
}

TEST(FrameRange, ChunksEvaluateExactlyTheShotsFrames)
{
    const FrameRange shot = parseFrameRange("1001-1100", 3);

    // A farm manager's chunk bounds need not fall on the step: the chunk keeps the shot's phase.
    const FrameRange chunk = shot.chunk(1026, 1050);
    EXPECT_EQ(chunk.frames().front(), 1028);
    EXPECT_EQ(chunk.frames().back(), 1049);
    for (int frame : chunk.frames()) EXPECT_TRUE(shot.contains(frame)) << frame;
    EXPECT_EQ(shot.chunk(0, 5000), shot);
    EXPECT_THROW(shot.chunk(1002, 1003), hx::UsageError); // between two of the shot's frames
    EXPECT_THROW(shot.chunk(1200, 1300), hx::UsageError);
    EXPECT_THROW(shot.chunk(1050, 1026), hx::UsageError);

    // Four chunks: consecutive, sizes within one of each other, together the shot.
    for (int parts : {1, 4, 7, 34, 1000}) {
        std::vector<int> frames;
        int smallest = shot.count(), largest = 0;
        for (const FrameRange& part : shot.split(parts)) {
            EXPECT_EQ(part.step, shot.step);
            const std::vector<int> partFrames = part.frames();
            frames.insert(frames.end(), partFrames.begin(), partFrames.end());
            smallest = std::min(smallest, part.count());
            largest = std::max(largest, part.count());
        }
        EXPECT_EQ(frames, shot.frames()) << parts;
        EXPECT_LE(largest - smallest, 1) << parts;
        EXPECT_EQ(shot.split(parts).size(), std::size_t(std::min(parts, shot.count())));
    }
}
