// Key: an attribute's value at a frame, and the two ways --key gives keys.
//
//   NODE.ATTR@FRAME=VALUE   the value on FRAME: one number, or a comma list for a compound
//                           (transform1.translate@1001=0,0,0)
//   NODE.ATTR=FROM:TO       the older form: FROM on the first frame of the run's range, TO on
//                           its LAST, even where a --step passes LAST by, so that a step changes
//                           no frame's value (compounds too: transform1.translate=0,0,0:0,0,5)
//
// The FROM:TO form becomes keys at the range's first and last frames (one key when the range
// is a single frame, holding FROM), so that every key a recipe keeps is at a frame, and a
// recipe evaluates the same whatever part of the shot a run covers.
#pragma once

#include "FrameRange.h"

#include <optional>
#include <string>
#include <vector>

namespace hx {

struct Key
{
    std::string node;
    std::string attribute;
    int frame = 0;
    std::vector<double> values; // one per component, each finite
    // The values as typed, so that "2.5" or "2.0" for an integer attribute can be refused as
    // typed; formatNumber(values[i]) when the key was not typed.
    std::vector<std::string> parts;

    std::string plugName() const { return node + "." + attribute; }
};

// A key made in code (Python's setKeyframe, a window's timeline), its parts from its values.
Key makeKey(const std::string& node, const std::string& attribute, int frame, const std::vector<double>& values);

// "NODE.ATTR@FRAME=VALUE", numbers in their shortest exact form: what a recipe records.
std::string keyText(const Key& key);

// One --key as typed, in either form.
struct KeyArgument
{
    std::string node;
    std::string attribute;
    std::optional<int> frame;   // the @FRAME form; none for FROM:TO
    std::vector<double> values; // VALUE, or FROM
    std::vector<std::string> parts;
    std::vector<double> toValues; // TO (FROM:TO only), as many as FROM
    std::vector<std::string> toParts;
};

// Throws UsageError, one line naming the text: "--key 'a.b@x=1': frame 'x' is not a number".
KeyArgument parseKeyArgument(const std::string& text);

// The keys `argument` gives in a run over `range`.
std::vector<Key> keysOf(const KeyArgument& argument, const FrameRange& range);

} // namespace hx
