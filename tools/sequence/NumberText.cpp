#include "NumberText.h"

#include <charconv>
#include <cmath>

namespace hx {

std::string formatNumber(double value)
{
    char text[64];
    const bool whole = std::trunc(value) == value && std::abs(value) < 1e16;
    const std::to_chars_result written = whole
                                             ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                                             : std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::string formatNumbers(const std::vector<double>& values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + formatNumber(values[i]);
    return text;
}

} // namespace hx
