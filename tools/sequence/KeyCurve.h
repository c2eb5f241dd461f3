// KeyCurve: one number's keys, and its value at any time between and beyond them.
//
// Before the first key the value holds at the first key's value, after the last at the last's.
// Between two keys it goes
//   linear: straight from one to the other;
//   smooth: along a cubic that is flat at the first and last keys and at every key where the
//           curve turns (a key above or below both neighbours, or equal to one), and elsewhere
//           takes the weighted harmonic mean of the slopes on its two sides (Fritsch and
//           Butland's monotone tangents, as in Fritsch-Carlson's method). Such a cubic never
//           leaves the band between its two keys: it does not overshoot, and it rises, falls or
//           stays level as its keys do.
// At a key's frame the value is the key's, bit for bit. The time is a double so that a
// timeline can scrub between frames; runs evaluate whole frames.
#pragma once

#include <string>
#include <vector>

namespace hx {

enum class Tangents { Linear, Smooth };

// "linear" or "smooth"; throws UsageError for anything else.
Tangents parseTangents(const std::string& text);
const char* tangentsName(Tangents tangents);

class KeyCurve
{
public:
    struct Point
    {
        int frame;
        double value;
        double slope; // value per frame, for smooth curves
    };

    explicit KeyCurve(Tangents tangents = Tangents::Linear) : mTangents(tangents) {}

    // Adds a key; false (and no change) when `frame` already has one.
    bool addKey(int frame, double value);

    // The value at `time` (0 for a curve without keys). A NaN time is taken as before the
    // first key.
    double valueAt(double time) const;

    const std::vector<Point>& keys() const { return mKeys; }
    Tangents tangents() const { return mTangents; }

private:
    void updateSlope(std::size_t index);

    Tangents mTangents;
    std::vector<Point> mKeys; // in frame order
};

} // namespace hx
