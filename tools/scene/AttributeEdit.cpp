#include "AttributeEdit.h"

#include "Suggest.h"
#include "ValueParse.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace hx {
namespace {

enum class ValueKind { Bool, Integer, Float, Double };

struct Range
{
    double low, high;
};

ValueKind kindOf(const AttributeInfo& a, Range& range)
{
    const std::string& t = a.valueType;
    if (t == "bool") return ValueKind::Bool;
    if (t == "byte") {
        range = {0, 255};
        return ValueKind::Integer;
    }
    if (t == "char") {
        range = {-128, 127};
        return ValueKind::Integer;
    }
    if (t.compare(0, 5, "short") == 0) {
        range = {-32768, 32767};
        return ValueKind::Integer;
    }
    if (t.compare(0, 3, "int") == 0) {
        range = {double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())};
        return ValueKind::Integer;
    }
    if (t.compare(0, 5, "float") == 0) return ValueKind::Float;
    return ValueKind::Double;
}

const AttributeInfo* findAttribute(const NodeTypeInfo& type, const std::string& name)
{
    for (const AttributeInfo& a : type.attributes)
        if (a.longName == name || a.shortName == name) return &a;
    return nullptr;
}

std::string typeHint(const std::string& nodeType)
{
    return "; hxnoise info " + nodeType + " lists its attributes";
}

// One value checked against what its component holds.
double checkedValue(const AttributeInfo& component, const std::string& text, double number, const std::string& what)
{
    Range range{0, 0};
    switch (kindOf(component, range)) {
    case ValueKind::Bool: {
        const int value = parseInteger(text, what);
        if (value != 0 && value != 1)
            throw UsageError(what + " '" + text + "' is not 0 or 1 (" + component.longName + " is on or off)");
        return value;
    }
    case ValueKind::Integer: {
        const double value = parseInteger(text, what);
        if (value < range.low || value > range.high)
            throw UsageError(what + " '" + text + "' is outside the range of a " + component.valueType + " attribute");
        return value;
    }
    case ValueKind::Float:
        // A float attribute would hold such a number as infinity.
        if (std::abs(number) > FLT_MAX) throw UsageError(what + " '" + text + "' is too large for a float attribute");
        return number;
    case ValueKind::Double: return number;
    }
    return number;
}

std::string componentNames(const NamedPlug& plug)
{
    std::string names;
    if (plug.components.empty() || plug.components[0].longName == plug.attribute.longName) return names;
    for (std::size_t i = 0; i < plug.components.size(); ++i) names += (i ? ", " : " (") + plug.components[i].longName;
    return names + ")";
}

template <class Number>
std::string shortest(Number value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// One stored value as text: `typed` when it says the same value, else the stored one.
std::string storedComponent(const AttributeInfo& component, const std::string& typed, double typedNumber, double stored)
{
    Range range{0, 0};
    switch (kindOf(component, range)) {
    case ValueKind::Bool:
    case ValueKind::Integer: return stored == typedNumber ? typed : shortest(static_cast<long long>(stored));
    case ValueKind::Float: {
        // A number a float cannot tell from 0 is stored as 0, and says so.
        const float asFloat = static_cast<float>(typedNumber);
        const bool same = double(asFloat) == stored && (asFloat != 0.0f || typedNumber == 0.0);
        return same ? typed : shortest(static_cast<float>(stored));
    }
    case ValueKind::Double:
        // Angles go to the host in radians and come back in degrees, a rounding or two away.
        return std::abs(stored - typedNumber) <= 1e-12 * std::abs(typedNumber) ? typed : shortest(stored);
    }
    return typed;
}

} // namespace

std::string storedValueText(Host& host, const NamedPlug& plug, const AttributeSetting& setting)
{
    std::vector<double> stored;
    if (plug.components.empty() || !host.getAttr(plug.name, stored) || stored.size() != plug.components.size() ||
        setting.numbers.size() != stored.size())
        return setting.text;
    std::string text;
    bool asTyped = true;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const std::string part = storedComponent(plug.components[i], setting.parts[i], setting.numbers[i], stored[i]);
        asTyped = asTyped && part == setting.parts[i];
        text += (i ? "," : "") + part;
    }
    return asTyped ? setting.text : text;
}

std::string ignoredPlugWarning(const NamedPlug& plug)
{
    const std::string& name = plug.attribute.longName;
    if (plug.nodeType != "hxNoise" && plug.nodeType != "noiseLocator") return "";
    if (name == "nodeState") return plug.name + " has no effect: " + plug.nodeType + " does not use the node state";
    if (plug.nodeType != "hxNoise") return "";
    if (name == "envelope")
        return plug.name +
               " has no effect: hxNoise applies its noise in full whatever the envelope; "
               "fade it with the amplitudes";
    if (name == "weightList" || name == "weights")
        return plug.name + " has no effect: hxNoise does not use painted weights";
    return "";
}

std::string longPlugName(const NamedPlug& plug)
{
    const std::size_t dot = plug.name.find('.');
    const std::string attribute = plug.name.substr(dot + 1);
    if (attribute.find_first_of("[.") != std::string::npos) return plug.name;
    return plug.name.substr(0, dot) + "." + plug.attribute.longName;
}

NamedPlug findPlug(const Host& host, const std::string& node, const std::string& attribute)
{
    if (!host.exists(node))
        throw UsageError("no node named '" + node + "'" + didYouMean(closestNames(node, host.listNodes())));
    NamedPlug plug;
    plug.name = node + "." + attribute;
    plug.nodeType = host.typeOf(node);
    const std::optional<NodeTypeInfo> type = host.nodeType(plug.nodeType);
    if (!type) throw UsageError("node '" + node + "' has no type the host knows");

    // "input[0].inputGeometry": the first name must be the node's; the last says what the
    // values go to.
    const std::size_t end = attribute.find_first_of("[.");
    const std::string first = attribute.substr(0, end);
    const AttributeInfo* found = findAttribute(*type, first);
    if (!found) {
        std::vector<std::string> longNames, shortNames;
        for (const AttributeInfo& a : type->attributes) {
            longNames.push_back(a.longName);
            shortNames.push_back(a.shortName);
        }
        std::vector<std::string> near = closestNames(first, longNames);
        if (near.empty())
            for (const std::string& s : closestNames(first, shortNames))
                near.push_back(findAttribute(*type, s)->longName);
        throw UsageError("unknown attribute '" + first + "' on " + node + " (" + plug.nodeType + ")" +
                         (near.empty() ? typeHint(plug.nodeType) : didYouMean(near)));
    }
    if (end != std::string::npos) {
        const std::size_t dot = attribute.rfind('.');
        std::string last = dot == std::string::npos ? first : attribute.substr(dot + 1);
        last = last.substr(0, last.find('['));
        found = findAttribute(*type, last);
        if (!found) throw UsageError("unknown attribute '" + last + "' in " + plug.name + typeHint(plug.nodeType));
    }
    plug.attribute = *found;

    if (found->kind == "numeric") {
        plug.components.assign(std::max<std::size_t>(found->defaultValue.size(), 1), *found);
    } else if (found->kind == "compound") {
        for (const std::string& child : found->children)
            if (const AttributeInfo* c = findAttribute(*type, child)) plug.components.push_back(*c);
    }
    return plug;
}

std::vector<double> settingValues(const NamedPlug& plug, const AttributeSetting& setting)
{
    const std::string what = "value of " + plug.name;
    const std::size_t count = setting.numbers.size();
    if (plug.components.empty()) {
        // Matrices and vector arrays: the host checks the count; finite numbers pass as typed.
        return setting.numbers;
    }
    if (count != plug.components.size())
        throw UsageError(plug.name + " takes " + std::to_string(plug.components.size()) + " value" +
                         (plug.components.size() == 1 ? "" : "s") + componentNames(plug) + ", got " +
                         std::to_string(count) + ": '" + setting.text + "'");
    std::vector<double> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = checkedValue(plug.components[i], setting.parts[i], setting.numbers[i], what);
    return values;
}

std::vector<std::string> numberPlugs(const NamedPlug& plug)
{
    // Long names, so that "hxNoise1.xna" and "hxNoise1.oxNoiseAmp" are one plug; a path into an
    // array or a child ("input[0].x") stays as typed.
    const std::size_t dot = plug.name.find('.');
    const std::string node = plug.name.substr(0, dot);
    const bool simple = plug.name.find_first_of("[.", dot + 1) == std::string::npos;
    std::vector<std::string> plugs;
    if (plug.components.size() == 1 && plug.components[0].longName == plug.attribute.longName) {
        plugs.push_back(simple ? node + "." + plug.attribute.longName : plug.name);
    } else if (plug.components.size() > 1 && plug.components[0].longName != plug.attribute.longName) {
        for (const AttributeInfo& child : plug.components) plugs.push_back(node + "." + child.longName);
    }
    return plugs;
}

std::vector<KeyedNumber> keyedNumbers(const NamedPlug& plug, const Key& key, const std::string& what)
{
    const std::vector<std::string> plugs = numberPlugs(plug);
    if (plugs.empty()) throw UsageError(what + ": " + plug.name + " cannot be keyed; a key moves numbers one by one");
    if (key.values.size() != plugs.size()) {
        std::string typed;
        for (std::size_t i = 0; i < key.parts.size(); ++i) typed += (i ? "," : "") + key.parts[i];
        throw UsageError(what + ": a key moves one number per value, and " + plug.name + " has " +
                         std::to_string(plugs.size()) + componentNames(plug) + "; got " +
                         std::to_string(key.values.size()) + ": '" + typed + "'");
    }
    std::vector<KeyedNumber> numbers;
    for (std::size_t i = 0; i < plugs.size(); ++i) {
        checkedValue(plug.components[i], key.parts[i], key.values[i], what);
        Range range{0, 0};
        const ValueKind kind = kindOf(plug.components[i], range);
        numbers.push_back({plugs[i], kind == ValueKind::Bool || kind == ValueKind::Integer});
    }
    return numbers;
}

} // namespace hx
