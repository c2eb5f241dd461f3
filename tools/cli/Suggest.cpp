#include "Suggest.h"

#include <algorithm>
#include <cctype>

namespace hx {

std::size_t editDistance(const std::string& a, const std::string& b)
{
    // One row of the dynamic-programming table at a time: names are short, but a pasted
    // path need not be.
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            const std::size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = row[j];
            row[j] = next;
        }
    }
    return row[b.size()];
}

std::vector<std::string> closestNames(const std::string& name, const std::vector<std::string>& candidates,
                                      std::size_t limit)
{
    // A third of the name's length, at least 2: close enough to be a typo, not a different word.
    const std::size_t threshold = std::max<std::size_t>(2, name.size() / 3);
    std::vector<std::pair<std::size_t, std::size_t>> scored; // distance, candidate index
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const std::size_t d = editDistance(name, candidates[i]);
        if (d <= threshold) scored.emplace_back(d, i);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < scored.size() && names.size() < limit; ++i) {
        const std::string& candidate = candidates[scored[i].second];
        if (std::find(names.begin(), names.end(), candidate) == names.end()) names.push_back(candidate);
    }
    return names;
}

std::string didYouMean(const std::vector<std::string>& names)
{
    if (names.empty()) return std::string();
    std::string text = "; did you mean " + names[0];
    for (std::size_t i = 1; i < names.size(); ++i) text += (i + 1 == names.size() ? " or " : ", ") + names[i];
    return text + "?";
}

} // namespace hx
