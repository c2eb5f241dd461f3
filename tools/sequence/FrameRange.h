// FrameRange: the frames a sequence evaluates, as --frames and --step give them.
//
// "N" is frames 1..N (the tool's first form); "FIRST-LAST" is a shot's range, 1001-1100 say,
// with negative frames allowed for a pre-roll ("-10-20", "-20--5"). A step S evaluates every
// S-th frame from the first, so LAST itself is evaluated only when it falls on the step.
// A chunk is the part of a range that one process of a farm evaluates: it keeps the range's
// step and its phase, so the chunks of a shot evaluate exactly the shot's frames.
#pragma once

#include <string>
#include <vector>

namespace hx {

// Frame numbers run from -kMaxFrameNumber to kMaxFrameNumber: far past any shot (ten million
// frames are four days at 24 fps), near enough that a range's arithmetic never overflows.
// How many frames one run may evaluate is kMaxFrames (CommandLine.h).
constexpr int kMaxFrameNumber = 9999999;

struct FrameRange
{
    int first = 1;
    int last = 1; // the range's end; the last frame evaluated is lastFrame()
    int step = 1;

    // How many frames are evaluated, and which: first, first + step, ... up to last.
    int count() const;
    int frame(int index) const; // index in 0..count() - 1
    std::vector<int> frames() const;
    int lastFrame() const { return frame(count() - 1); }
    // `frame` is one of the frames evaluated.
    bool contains(int frame) const;

    // The frames of this range within from..to, with the same step and phase. Throws
    // UsageError when none of this range's frames is in from..to.
    FrameRange chunk(int from, int to) const;
    // The range cut into at most `parts` chunks of consecutive frames, their sizes differing by
    // at most one: what a farm's tasks evaluate, one chunk each.
    std::vector<FrameRange> split(int parts) const;

    // "1001-1100", which parseFrameRange reads back (the step is separate, as on the command line).
    std::string text() const;

    bool operator==(const FrameRange& other) const
    {
        return first == other.first && last == other.last && step == other.step;
    }
    bool operator!=(const FrameRange& other) const { return !(*this == other); }
};

// --frames: "N" (1..N, N in 1..kMaxFrames) or "FIRST-LAST" (FIRST <= LAST), with `step` >= 1,
// evaluating at most kMaxFrames frames. Throws UsageError naming the text.
FrameRange parseFrameRange(const std::string& text, int step = 1);

// --step: a whole number in 1..kMaxFrameNumber.
int parseStep(const std::string& text);

} // namespace hx
