// NumberText: numbers written so that reading them back gives the same double, bit for bit.
//
// The shortest text that round-trips (to_chars), except that whole numbers below 1e16 are
// written in full ("1000000000", not "1e+09"), so that an integer attribute's value reads back
// as an integer. Negative zero stays "-0".
#pragma once

#include <string>
#include <vector>

namespace hx {

// `value` must be finite.
std::string formatNumber(double value);

// "1,2.5,-3": the numbers joined by commas, as a compound's value is typed.
std::string formatNumbers(const std::vector<double>& values);

} // namespace hx
