// Point caches read back by a reader of their own, written here from the formats' layouts:
// PC2 little-endian with its "POINTCACHE2" header, MDD big-endian with frame times.
#include "ErrorOf.h"
#include "MeshFormat.h"
#include "PointCache.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>

using hx::PointCacheFormat;
using hx::PointCacheWriter;

namespace {

// Reads the cache's bytes in order, in the byte order given.
class CacheReader
{
public:
    CacheReader(const std::string& bytes, bool bigEndian) : mBytes(bytes), mBigEndian(bigEndian) {}

    std::uint32_t u32()
    {
        EXPECT_LE(mAt + 4, mBytes.size()) << "read past the end";
        if (mAt + 4 > mBytes.size()) return 0;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t byte = static_cast<unsigned char>(mBytes[mAt + i]);
            value |= mBigEndian ? byte << (8 * (3 - i)) : byte << (8 * i);
        }
        mAt += 4;
        return value;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32()
    {
        const std::uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string text(std::size_t n)
    {
        const std::string s = mBytes.substr(mAt, n);
        mAt += n;
        return s;
    }
    bool atEnd() const { return mAt == mBytes.size(); }

private:
    const std::string& mBytes;
    bool mBigEndian;
    std::size_t mAt = 0;
};

// Two frames of three points: the second frame moved by (10, 20, 30), and numbers that a
// float rounds (0.1) or keeps (-2.5).
const std::vector<double> kFrame1 = {0.1, 0.2, 0.3, -2.5, 0, 1e-3, 1000.25, -0.0, 7};
std::vector<double> frame2()
{
    std::vector<double> moved = kFrame1;
    for (std::size_t i = 0; i < moved.size(); ++i) moved[i] += 10.0 * (1 + i % 3);
    return moved;
}

// The bytes of a cache of kFrame1 then frame2().
std::string twoFrameCache(PointCacheFormat format, const std::string& name,
                          PointCacheWriter::Timing timing = PointCacheWriter::Timing())
{
    std::string bytes;
    hx::StringSink sink(bytes);
    PointCacheWriter cache(sink, format, 3, 2, name, timing);
    cache.writeFrame(kFrame1);
    cache.writeFrame(frame2());
    cache.finish();
    return bytes;
}

// What the cache refuses with.
std::string errorOf(const std::function<void()>& run)
{
    return hxtest::errorOf<hx::MeshFormatError>(run);
}

void expectFrame(CacheReader& in, const std::vector<double>& points)
{
    for (std::size_t i = 0; i < points.size(); ++i) EXPECT_EQ(in.f32(), static_cast<float>(points[i])) << "value " << i;
}

} // namespace

TEST(PointCache, Pc2HoldsItsHeaderThenEachFrameLittleEndian)
{
    const std::string bytes = twoFrameCache(PointCacheFormat::Pc2, "run.pc2", {5.0, 0.5, 24.0});

    ASSERT_EQ(bytes.size(), 32u + 2 * 3 * 12);
    EXPECT_EQ(bytes.substr(12, 4), std::string("\x01\x00\x00\x00", 4)) << "version 1, little-endian";
    CacheReader in(bytes, false);
    EXPECT_EQ(in.text(12), std::string("POINTCACHE2\0", 12));
    EXPECT_EQ(in.i32(), 1);
    EXPECT_EQ(in.i32(), 3);    // points
    EXPECT_EQ(in.f32(), 5.0f); // start frame
    EXPECT_EQ(in.f32(), 0.5f); // sample rate: frames between samples
    EXPECT_EQ(in.i32(), 2);    // samples
    expectFrame(in, kFrame1);
    expectFrame(in, frame2());
    EXPECT_TRUE(in.atEnd());
}

TEST(PointCache, MddHoldsCountsFrameTimesThenEachFrameBigEndian)
{
    const std::string bytes = twoFrameCache(PointCacheFormat::Mdd, "run.mdd"); // frames 1 and 2 at 24 per second

    ASSERT_EQ(bytes.size(), 8u + 2 * 4 + 2 * 3 * 12);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\0\0\0\x02\0\0\0\x03", 8)) << "counts, big-endian";
    CacheReader in(bytes, true);
    EXPECT_EQ(in.i32(), 2);
    EXPECT_EQ(in.i32(), 3);
    EXPECT_EQ(in.f32(), static_cast<float>(1.0 / 24.0));
    EXPECT_EQ(in.f32(), static_cast<float>(2.0 / 24.0));
    expectFrame(in, kFrame1);
    expectFrame(in, frame2());
    EXPECT_TRUE(in.atEnd());
}

TEST(PointCache, RefusesWhatWouldMakeABrokenCache)
{
    std::string bytes;
    hx::StringSink sink(bytes);
    PointCacheWriter cache(sink, PointCacheFormat::Pc2, 3, 2, "run.pc2");
    EXPECT_EQ(errorOf([&] { cache.writeFrame({1, 2, 3}); }), "run.pc2: frame 1 has 1 points, the cache 3");
    // A point a float cannot hold would be an infinity in the cache.
    EXPECT_EQ(errorOf([&] {
                  cache.writeFrame({0, 0, 0, 1e39, 0, 0, 0, 0, 0});
              }),
              "run.pc2: point 2 of frame 1 is beyond what a 32-bit float holds (1e+39)");
    cache.writeFrame(kFrame1);
    EXPECT_EQ(errorOf([&] { cache.finish(); }), "run.pc2: the cache was started for 2 frames but 1 were written");
    cache.writeFrame(kFrame1);
    EXPECT_EQ(errorOf([&] { cache.writeFrame(kFrame1); }),
              "run.pc2: frame 3 is past the 2 frames the cache was started with");
    EXPECT_EQ(errorOf([&] {
                  PointCacheWriter(sink, PointCacheFormat::Mdd, 0, 2, "empty.mdd");
              }).rfind("empty.mdd: a point cache holds 1 to ", 0),
              0u);

    EXPECT_EQ(hx::pointCacheFormatOf("shot/run.PC2"), PointCacheFormat::Pc2);
    EXPECT_EQ(hx::pointCacheFormatOf("run.mdd"), PointCacheFormat::Mdd);
    EXPECT_EQ(errorOf([] { hx::pointCacheFormatOf("run.abc"); }),
              "run.abc: point caches are written as .pc2 or .mdd, not .abc");
}
