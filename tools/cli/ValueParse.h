// Reading the values people type on the command line, strictly.
//
// "1.5x", "nan", "inf" and "2.0" for an integer are refused with a message that names the
// text and what it was meant for, rather than read as something the user did not mean.
#pragma once

#include "OneLineError.h"

#include "AttributeSetting.h"

#include <string>

namespace hx {

// A mistake in how the tool was called: exit code 2, one line on standard error.
struct UsageErrorKind;
using UsageError = OneLineError<UsageErrorKind>;

// `what` names the value in messages, e.g. "value of transform1.translateX".
double parseNumber(const std::string& text, const std::string& what);
int parseInteger(const std::string& text, const std::string& what);

// "WxH" with each side in 1..maxSide.
void parseSize(const std::string& text, int maxSide, int& width, int& height);

// "NODE.ATTR" split at the first dot.
void parsePlugName(const std::string& text, std::string& node, std::string& attribute);

// "NODE.ATTR=VALUE" where VALUE is a number or a comma list of numbers.
AttributeSetting parseSetting(const std::string& text);

} // namespace hx
