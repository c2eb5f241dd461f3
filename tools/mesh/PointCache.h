// PointCacheWriter: the points of every frame of a run in one point cache, the files that
// animation packages read through their mesh-cache and point-cache tools.
//
// - PC2: little-endian. "POINTCACHE2\0", version 1, point count, start frame (float), sample
//   rate (float: frames from one sample to the next), sample count; then per sample x, y, z
//   of every point as floats.
// - MDD: big-endian. Frame count, point count (ints), each frame's time in seconds (floats),
//   then per frame x, y, z of every point as floats.
//
// The frame count is known up front (a run's --frames), so the header is whole from the
// start and every frame goes to the sink as soon as it is evaluated; the caller's output
// step commits the file at the end of the run, or drops it if the run fails.
#pragma once

#include "ByteSink.h"

#include <cstddef>
#include <string>
#include <vector>

namespace hx {

enum class PointCacheFormat { Pc2, Mdd };

// ".pc2" or ".mdd", case aside; throws MeshFormatError (MeshFormat.h) for any other name.
PointCacheFormat pointCacheFormatOf(const std::string& path);

class PointCacheWriter
{
public:
    struct Timing
    {
        double startFrame = 1.0;       // the first frame's number
        double frameStep = 1.0;        // frames from one sample to the next
        double framesPerSecond = 24.0; // MDD's frame times are frame / framesPerSecond seconds
    };

    // Writes the header at once. `name` names the cache in messages. Throws MeshFormatError
    // when the counts do not fit the format's 32-bit fields.
    PointCacheWriter(ByteSink& out, PointCacheFormat format, std::size_t pointCount, int frameCount,
                     const std::string& name, Timing timing);
    PointCacheWriter(ByteSink& out, PointCacheFormat format, std::size_t pointCount, int frameCount,
                     const std::string& name)
        : PointCacheWriter(out, format, pointCount, frameCount, name, Timing())
    {}

    // The next frame's points, x, y, z each (pointCount of them). Throws MeshFormatError for
    // a wrong count, a frame past the declared count, or a point that a float cannot hold
    // (past 3.4e38, or not a number): the cache would hold infinities where points were.
    void writeFrame(const std::vector<double>& positions);

    // Throws MeshFormatError unless every declared frame was written.
    void finish() const;

    int framesWritten() const { return mFramesWritten; }

private:
    [[noreturn]] void fail(const std::string& reason) const;

    ByteSink& mOut;
    PointCacheFormat mFormat;
    std::size_t mPointCount;
    int mFrameCount;
    std::string mName;
    int mFramesWritten = 0;
    std::vector<unsigned char> mFrameBytes;
};

} // namespace hx
