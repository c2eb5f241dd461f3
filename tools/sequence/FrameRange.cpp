#include "FrameRange.h"

#include "CommandLine.h"
#include "ValueParse.h"

#include <algorithm>

namespace hx {
namespace {

// Both frames lie within +-kMaxFrameNumber, so their difference fits an int with room to spare.
int spanOf(int first, int last)
{
    return last - first;
}

} // namespace

int FrameRange::count() const
{
    return spanOf(first, last) / step + 1;
}

int FrameRange::frame(int index) const
{
    return first + index * step;
}

std::vector<int> FrameRange::frames() const
{
    std::vector<int> result(static_cast<std::size_t>(count()));
    for (int i = 0; i < count(); ++i) result[static_cast<std::size_t>(i)] = frame(i);
    return result;
}

bool FrameRange::contains(int f) const
{
    return f >= first && f <= last && spanOf(first, f) % step == 0;
}

FrameRange FrameRange::chunk(int from, int to) const
{
    // The first of this range's frames at or after `from`.
    const long long start = std::max<long long>(from, first);
    const long long offset = start - first;
    const long long firstFrame = first + (offset + step - 1) / step * step;
    const long long end = std::min<long long>(to, last);
    if (from > to || firstFrame > end)
        throw UsageError("frames " + std::to_string(from) + "-" + std::to_string(to) + " hold none of the frames " +
                         text() + (step > 1 ? " (step " + std::to_string(step) + ")" : ""));
    FrameRange part = *this;
    part.first = static_cast<int>(firstFrame);
    part.last = static_cast<int>(end);
    return part;
}

std::vector<FrameRange> FrameRange::split(int parts) const
{
    const int n = count();
    parts = std::clamp(parts, 1, n);
    std::vector<FrameRange> chunks;
    int index = 0;
    for (int i = 0; i < parts; ++i) {
        const int size = n / parts + (i < n % parts ? 1 : 0);
        FrameRange part = *this;
        part.first = frame(index);
        part.last = frame(index + size - 1);
        chunks.push_back(part);
        index += size;
    }
    return chunks;
}

std::string FrameRange::text() const
{
    return std::to_string(first) + "-" + std::to_string(last);
}

FrameRange parseFrameRange(const std::string& text, int step)
{
    if (step < 1 || step > kMaxFrameNumber)
        throw UsageError("--step " + std::to_string(step) + " is outside 1.." + std::to_string(kMaxFrameNumber));
    FrameRange range;
    range.step = step;
    // The separator is the first '-' after the first character, which may be a sign.
    const std::size_t dash = text.find('-', 1);
    if (dash == std::string::npos) {
        const int frames = parseInteger(text, "--frames");
        if (frames < 1 || frames > kMaxFrames)
            throw UsageError("--frames " + text + " is outside 1.." + std::to_string(kMaxFrames) +
                             "; a range of frames is FIRST-LAST, e.g. --frames 1001-1100");
        range.first = 1;
        range.last = frames;
    } else {
        range.first = parseInteger(text.substr(0, dash), "--frames first frame");
        range.last = parseInteger(text.substr(dash + 1), "--frames last frame");
        for (const int frame : {range.first, range.last})
            if (frame < -kMaxFrameNumber || frame > kMaxFrameNumber)
                throw UsageError("--frames " + text + ": frame " + std::to_string(frame) + " is outside " +
                                 std::to_string(-kMaxFrameNumber) + ".." + std::to_string(kMaxFrameNumber));
        if (range.first > range.last)
            throw UsageError("--frames " + text + " ends before it starts; the range is FIRST-LAST, e.g. 1001-1100");
    }
    if (range.count() > kMaxFrames)
        throw UsageError("--frames " + text + (step > 1 ? " --step " + std::to_string(step) : "") + " is " +
                         std::to_string(range.count()) + " frames, more than the " + std::to_string(kMaxFrames) +
                         " one run evaluates; split it into chunks");
    return range;
}

int parseStep(const std::string& text)
{
    const int step = parseInteger(text, "--step");
    if (step < 1 || step > kMaxFrameNumber)
        throw UsageError("--step " + text + " is outside 1.." + std::to_string(kMaxFrameNumber));
    return step;
}

} // namespace hx
