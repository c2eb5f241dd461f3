// AttributeEdit: the NODE.ATTR=VALUE of --set and the keys of --key, checked against the
// node's type in the host's registry before anything is set.
//
// The host clamps values to an attribute's limits (and says so); what it cannot judge, and
// the command line must, is what the user typed: a name that is not there (answered with the
// closest names), a count of values that does not fit, "2.5" for an integer, a number no
// float attribute can hold.
#pragma once

#include "Animation.h"
#include "AttributeSetting.h"
#include "Key.h"

#include <engine/Host.h>

#include <string>
#include <vector>

namespace hx {

// A plug named on the command line, found in the scene.
struct NamedPlug
{
    std::string name; // "hxNoise1.oxNoiseAmp", as the host takes it
    std::string nodeType;
    AttributeInfo attribute;
    // What each value goes to: the attribute itself once per component, or a compound's
    // children. Empty for matrices and arrays of vectors, which take 16 and 3n numbers.
    std::vector<AttributeInfo> components;
};

// "node.longName" for a plug named by its attribute alone ("hxNoise1.xna" gives
// "hxNoise1.oxNoiseAmp"); the name as typed for a path ("input[0].inputGeometry").
std::string longPlugName(const NamedPlug& plug);

// Finds NODE.ATTR (long or short name; "attr[2]" and "parent.child" paths go to the
// host as typed). Throws UsageError: "no node named 'hxNoise2'; did you mean hxNoise1?".
NamedPlug findPlug(const Host& host, const std::string& node, const std::string& attribute);

// The numbers for `plug` from a --set: one per component, integers for integer attributes,
// within the range a float or short attribute holds. Throws UsageError.
std::vector<double> settingValues(const NamedPlug& plug, const AttributeSetting& setting);

// The plug of each number `plug` holds, one per component: a compound's children
// ("transform1.translateX", ...), or the plug itself for a single number. Empty for what
// cannot be set number by number (matrices, arrays, multi-valued attributes without children).
std::vector<std::string> numberPlugs(const NamedPlug& plug);

// The numbers `key` moves (an Animation's ResolveKey), integers marked for rounding. Throws
// UsageError naming `what` (the key as typed, "--key hxNoise1.xno@24") for a count of values
// that does not fit, or a value the attribute cannot hold, checked as a --set's are.
std::vector<KeyedNumber> keyedNumbers(const NamedPlug& plug, const Key& key, const std::string& what);

// What `plug` holds after `setting` was applied, as text: each value as typed where the
// host stored it so, else what the host made of it ("10" for an octave count of 11 clamped
// to its maximum, "0" for 1e-50 in a float).
std::string storedValueText(Host& host, const NamedPlug& plug, const AttributeSetting& setting);

// A warning for a plug the hxNoise deformer takes but never uses (its envelope, painted
// weights, node state), else empty: setting it changes nothing.
std::string ignoredPlugWarning(const NamedPlug& plug);

} // namespace hx
