#include "PointCache.h"

#include "MeshFormat.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>

namespace hx {
namespace {

// Bytes in the order the format fixes, whatever this machine's order.
void put32(unsigned char* out, std::uint32_t bits, bool bigEndian)
{
    for (int i = 0; i < 4; ++i) out[bigEndian ? 3 - i : i] = static_cast<unsigned char>(bits >> (8 * i));
}

std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void appendInt(std::vector<unsigned char>& out, std::int32_t value, bool bigEndian)
{
    out.resize(out.size() + 4);
    put32(out.data() + out.size() - 4, static_cast<std::uint32_t>(value), bigEndian);
}

void appendFloat(std::vector<unsigned char>& out, float value, bool bigEndian)
{
    out.resize(out.size() + 4);
    put32(out.data() + out.size() - 4, bitsOf(value), bigEndian);
}

std::string shortest(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

} // namespace

PointCacheFormat pointCacheFormatOf(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".pc2") return PointCacheFormat::Pc2;
    if (extension == ".mdd") return PointCacheFormat::Mdd;
    throw MeshFormatError(path + ": point caches are written as .pc2 or .mdd" +
                          (extension.empty() ? std::string() : ", not " + extension));
}

PointCacheWriter::PointCacheWriter(ByteSink& out, PointCacheFormat format, std::size_t pointCount, int frameCount,
                                   const std::string& name, Timing timing)
    : mOut(out), mFormat(format), mPointCount(pointCount), mFrameCount(frameCount), mName(name)
{
    if (pointCount == 0 || pointCount > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) / 12)
        fail("a point cache holds 1 to " + std::to_string(std::numeric_limits<std::int32_t>::max() / 12) +
             " points, not " + std::to_string(pointCount));
    if (frameCount < 1) fail("a point cache needs at least one frame");

    std::vector<unsigned char> header;
    if (format == PointCacheFormat::Pc2) {
        static const char kSignature[12] = "POINTCACHE2"; // with its terminating zero
        header.insert(header.end(), kSignature, kSignature + 12);
        appendInt(header, 1, false);
        appendInt(header, static_cast<std::int32_t>(pointCount), false);
        appendFloat(header, static_cast<float>(timing.startFrame), false);
        appendFloat(header, static_cast<float>(timing.frameStep), false);
        appendInt(header, frameCount, false);
    } else {
        appendInt(header, frameCount, true);
        appendInt(header, static_cast<std::int32_t>(pointCount), true);
        for (int i = 0; i < frameCount; ++i)
            appendFloat(header, static_cast<float>((timing.startFrame + i * timing.frameStep) / timing.framesPerSecond),
                        true);
    }
    mOut.write(header.data(), header.size());
    mFrameBytes.resize(12 * pointCount);
}

void PointCacheWriter::fail(const std::string& reason) const
{
    throw MeshFormatError(mName + ": " + reason);
}

void PointCacheWriter::writeFrame(const std::vector<double>& positions)
{
    if (mFramesWritten == mFrameCount)
        fail("frame " + std::to_string(mFramesWritten + 1) + " is past the " + std::to_string(mFrameCount) +
             " frames the cache was started with");
    if (positions.size() != 3 * mPointCount)
        fail("frame " + std::to_string(mFramesWritten + 1) + " has " + std::to_string(positions.size() / 3) +
             " points, the cache " + std::to_string(mPointCount));
    const bool bigEndian = mFormat == PointCacheFormat::Mdd;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const float value = static_cast<float>(positions[i]);
        if (!std::isfinite(value))
            fail("point " + std::to_string(i / 3 + 1) + " of frame " + std::to_string(mFramesWritten + 1) +
                 " is beyond what a 32-bit float holds (" + shortest(positions[i]) + ")");
        put32(mFrameBytes.data() + 4 * i, bitsOf(value), bigEndian);
    }
    mOut.write(mFrameBytes.data(), mFrameBytes.size());
    ++mFramesWritten;
}

void PointCacheWriter::finish() const
{
    if (mFramesWritten != mFrameCount)
        fail("the cache was started for " + std::to_string(mFrameCount) + " frames but " +
             std::to_string(mFramesWritten) + " were written");
}

} // namespace hx
