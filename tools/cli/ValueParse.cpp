#include "ValueParse.h"

#include <charconv>
#include <cmath>

namespace hx {
namespace {

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

bool isBlank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

double parseNumber(const std::string& text, const std::string& what)
{
    if (isBlank(text)) throw UsageError(what + " is empty, expected a number");
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (*begin == '+') ++begin; // "+1" is a number to people, not to from_chars
    double value = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error == std::errc::result_out_of_range)
        throw UsageError(what + " " + quoted(text) + " is too large for a number");
    if (error != std::errc() || stop != end) throw UsageError(what + " " + quoted(text) + " is not a number");
    if (!std::isfinite(value)) throw UsageError(what + " " + quoted(text) + " is not a finite number");
    return value;
}

int parseInteger(const std::string& text, const std::string& what)
{
    if (isBlank(text)) throw UsageError(what + " is empty, expected an integer");
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (*begin == '+') ++begin;
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error == std::errc::result_out_of_range)
        throw UsageError(what + " " + quoted(text) + " is out of the integer range");
    if (error != std::errc() || stop != end) {
        // Say whether it was a number at all: "2.5" wants a different fix than "abc".
        double number = 0.0;
        const auto asNumber = std::from_chars(begin, end, number);
        if (asNumber.ec == std::errc() && asNumber.ptr == end)
            throw UsageError(what + " " + quoted(text) + " is not an integer");
        throw UsageError(what + " " + quoted(text) + " is not a number");
    }
    return value;
}

void parseSize(const std::string& text, int maxSide, int& width, int& height)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) throw UsageError("--size " + quoted(text) + " is not WIDTHxHEIGHT, e.g. 640x480");
    const int w = parseInteger(text.substr(0, x), "--size width");
    const int h = parseInteger(text.substr(x + 1), "--size height");
    if (w < 1 || h < 1 || w > maxSide || h > maxSide)
        throw UsageError("--size " + quoted(text) + " is outside 1x1.." + std::to_string(maxSide) + "x" +
                         std::to_string(maxSide));
    width = w;
    height = h;
}

void parsePlugName(const std::string& text, std::string& node, std::string& attribute)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == text.size())
        throw UsageError(quoted(text) + " is not NODE.ATTRIBUTE, e.g. hxNoise1.oxNoiseAmp");
    node = text.substr(0, dot);
    attribute = text.substr(dot + 1);
}

AttributeSetting parseSetting(const std::string& text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        throw UsageError("--set " + quoted(text) + " is not NODE.ATTRIBUTE=VALUE, e.g. transform1.translate=1,2,3");
    AttributeSetting setting;
    parsePlugName(text.substr(0, equals), setting.node, setting.attribute);
    setting.text = text.substr(equals + 1);
    const std::string what = "value of " + setting.node + "." + setting.attribute;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = setting.text.find(',', begin);
        setting.parts.push_back(setting.text.substr(begin, comma - begin));
        setting.numbers.push_back(parseNumber(setting.parts.back(), what));
        if (comma == std::string::npos) break;
        begin = comma + 1;
    }
    return setting;
}

} // namespace hx
