#include "Key.h"

#include "NumberText.h"
#include "ValueParse.h"

namespace hx {
namespace {

const char* const kKeyForms =
    "is not NODE.ATTRIBUTE@FRAME=VALUE (or NODE.ATTRIBUTE=FROM:TO), "
    "e.g. transform1.translate@1001=0,0,0";

// "1,2,3" into its parts and their numbers.
void parseValues(const std::string& text, const std::string& what, std::vector<std::string>& parts,
                 std::vector<double>& values)
{
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = text.find(',', begin);
        parts.push_back(text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin));
        values.push_back(parseNumber(parts.back(), what));
        if (comma == std::string::npos) break;
        begin = comma + 1;
    }
}

} // namespace

Key makeKey(const std::string& node, const std::string& attribute, int frame, const std::vector<double>& values)
{
    Key key{node, attribute, frame, values, {}};
    for (double v : values) key.parts.push_back(formatNumber(v));
    return key;
}

std::string keyText(const Key& key)
{
    return key.plugName() + "@" + std::to_string(key.frame) + "=" + formatNumbers(key.values);
}

KeyArgument parseKeyArgument(const std::string& text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) throw UsageError("--key '" + text + "' " + kKeyForms);
    const std::string left = text.substr(0, equals);
    const std::string right = text.substr(equals + 1);
    const std::size_t at = left.find('@');

    KeyArgument key;
    parsePlugName(left.substr(0, at), key.node, key.attribute);
    const std::string what = "--key " + key.node + "." + key.attribute;
    if (at != std::string::npos) {
        const int frame = parseInteger(left.substr(at + 1), what + " frame");
        if (frame < -kMaxFrameNumber || frame > kMaxFrameNumber)
            throw UsageError(what + " frame " + std::to_string(frame) + " is outside " +
                             std::to_string(-kMaxFrameNumber) + ".." + std::to_string(kMaxFrameNumber));
        key.frame = frame;
        parseValues(right, what + " value", key.parts, key.values);
        return key;
    }

    const std::size_t colon = right.find(':');
    if (colon == std::string::npos) throw UsageError("--key '" + text + "' " + kKeyForms);
    parseValues(right.substr(0, colon), what + " start", key.parts, key.values);
    parseValues(right.substr(colon + 1), what + " end", key.toParts, key.toValues);
    if (key.values.size() != key.toValues.size())
        throw UsageError("--key '" + text + "' starts with " + std::to_string(key.values.size()) +
                         " values and ends with " + std::to_string(key.toValues.size()));
    return key;
}

std::vector<Key> keysOf(const KeyArgument& argument, const FrameRange& range)
{
    if (argument.frame)
        return {Key{argument.node, argument.attribute, *argument.frame, argument.values, argument.parts}};
    std::vector<Key> keys = {Key{argument.node, argument.attribute, range.first, argument.values, argument.parts}};
    if (range.last != range.first)
        keys.push_back(Key{argument.node, argument.attribute, range.last, argument.toValues, argument.toParts});
    return keys;
}

} // namespace hx
