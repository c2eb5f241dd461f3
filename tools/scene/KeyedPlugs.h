// KeyedPlugs: the numbers a --key moves in the scene, and the plugs a --set reaches, by the
// names the host takes, so that keys and settings on one number meet however they were named
// ("transform1.tx" and "transform1.translate" both reach "transform1.translateX").
#pragma once

#include "Animation.h"
#include "AttributeEdit.h"
#include "Key.h"

#include <engine/Host.h>

#include <string>
#include <vector>

namespace hx {

// Whether an attribute holds whole numbers (bool, byte, char, short, int, long, enum).
bool isIntegerAttribute(const AttributeInfo& attribute);

// The numbers `key` moves: the attribute itself, or a compound's children one by one (for
// Animation's ResolveKey). Throws UsageError for a name the scene lacks (with the closest
// names), a key whose values do not fit (count, "2.5" for an integer), or an attribute whose
// numbers cannot be keyed one by one (a matrix, an array).
std::vector<KeyedNumber> keyedNumbers(const Host& host, const Key& key);

// The plugs of single numbers that `plug` covers: a compound's children, else the plug by
// its long name (what Animation::checkNotKeyed compares a --set against).
std::vector<std::string> numberPlugs(const NamedPlug& plug);

}  // namespace hx
