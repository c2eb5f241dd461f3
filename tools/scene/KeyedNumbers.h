// KeyedNumbers: which numbers of the scene a key moves, for the sequence layer's Animation.
//
// "hxNoise1.xna" and "hxNoise1.oxNoiseAmp" are one number, "transform1.translate" is the three
// numbers "transform1.translateX", "...Y", "...Z", of which "transform1.tx" names one. Each
// number is named by its node and long attribute name, so keys meet on one curve however they
// were typed, and the key's values are checked as a --set of them is (whole numbers for
// integer attributes, 0 or 1 for a switch, within what a float holds).
#pragma once

#include "Animation.h"

#include <engine/Host.h>

#include <vector>

namespace hx {

// Whether an attribute holds whole numbers (bool, byte, char, short, int, long, enum).
bool isIntegerAttribute(const AttributeInfo& attribute);

// The numbers `key` moves, one per value, in order. Throws UsageError for a key on a node or
// attribute that is not there (with the closest names), on an attribute that holds no single
// numbers (a matrix, a mesh, an array element), or with values its attribute cannot take.
std::vector<KeyedNumber> keyedNumbers(const Host& host, const Key& key);

} // namespace hx
