// Animation: the keys of a run gathered into one curve per keyed number, and their values at
// any time.
//
// Which numbers a key moves is the scene's business: "hxNoise1.xna" and "hxNoise1.oxNoiseAmp"
// are one attribute, and "transform1.translate" is the three numbers "transform1.translateX",
// "...Y", "...Z", one of which "transform1.tx" also names. So the caller resolves each key into
// the plugs of its numbers (ResolveKey), and the animation keeps one curve per plug: keys of a
// compound and of its children meet on the same curves, and two keys on one number at one
// frame are refused however they were named. The value at a time depends on the keys and that
// time only, never on which other times are evaluated: a farm chunk gets the values of the
// whole shot.
#pragma once

#include "Key.h"
#include "KeyCurve.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace hx {

// One number a key moves: the plug to set it through, and whether it takes whole numbers
// (rounded to the nearest, halves away from zero).
struct KeyedNumber
{
    std::string plug; // e.g. "transform1.translateX"
    bool integer = false;
};

// The numbers a key moves, one per value of the key, in order. It throws UsageError for a key
// that names nothing or holds values its plug cannot take.
using ResolveKey = std::function<std::vector<KeyedNumber>(const Key&)>;

class Animation
{
public:
    struct Channel
    {
        std::string plug;
        bool integer = false;
        KeyCurve curve;
        std::vector<std::pair<int, std::string>> keyTexts; // each key's frame and text, for messages
    };

    Animation() = default;
    // Throws UsageError, one line: a key whose resolved numbers do not match its values, or
    // "two keys on hxNoise1.oxNoiseAmp at frame 1050: hxNoise1.xna@1050=1 and ...".
    Animation(const std::vector<Key>& keys, Tangents tangents, const ResolveKey& resolve);

    // In the order each plug was first keyed.
    const std::vector<Channel>& channels() const { return mChannels; }
    bool empty() const { return mChannels.empty(); }

    double valueAt(std::size_t channel, double time) const;
    // Every channel's value at `time`, in channels() order.
    std::vector<double> valuesAt(double time) const;

    // Refuses a --set (described by `what`, e.g. "--set hxNoise1.xna=2") of any of `plugs`
    // that is keyed: the keys would take the value back on every frame.
    void checkNotKeyed(const std::string& what, const std::vector<std::string>& plugs) const;
    bool isKeyed(const std::string& plug) const;

private:
    const Channel* find(const std::string& plug) const;

    std::vector<Channel> mChannels;
    std::map<std::string, std::size_t> mIndex; // plug -> channel
};

} // namespace hx
