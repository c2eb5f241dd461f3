// NODE.ATTR=VALUE as typed on the command line or in a recipe, before any scene is there.
#pragma once

#include <string>
#include <vector>

namespace hx {

// The value is kept as typed (a comma list for a compound such as translate) and as numbers;
// whether it must be an integer is the attribute's business, so parseInteger is applied to
// `parts` once the attribute is known.
struct AttributeSetting
{
    std::string node;
    std::string attribute;
    std::string text;
    std::vector<std::string> parts; // `text` split at commas
    std::vector<double> numbers;    // each part as a finite number
};

} // namespace hx
