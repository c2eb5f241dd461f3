// FuzzBytes: the fuzzer's input read as a stream of raw values.
//
// Each take<T>() copies the next sizeof(T) bytes as they are, so a float can be any bit
// pattern (NaN, infinities, subnormals, negative zero) and an int any int. Past the end of
// the input the missing bytes read as zero: every input, however short, is a whole case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace hxfuzz {

class FuzzBytes
{
public:
    FuzzBytes(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}

    template <typename T>
    T take()
    {
        unsigned char bytes[sizeof(T)] = {};
        const std::size_t n = mSize - mUsed < sizeof(T) ? mSize - mUsed : sizeof(T);
        if (n) std::memcpy(bytes, mData + mUsed, n);
        mUsed += n;
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    bool empty() const { return mUsed == mSize; }

private:
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mUsed = 0;
};

} // namespace hxfuzz

// A failed check: prints what and where, then aborts so that libFuzzer keeps the input.
#define HX_FUZZ_CHECK(condition)                                                               \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
