// "Did you mean": the known names closest to a mistyped one.
#pragma once

#include <string>
#include <vector>

namespace hx {

// Levenshtein distance (insert, delete, substitute), ignoring letter case: users type
// "oxnoiseamp" for "oxNoiseAmp".
std::size_t editDistance(const std::string& a, const std::string& b);

// Up to `limit` candidates within a distance that scales with the name's length, closest
// first (ties keep the candidates' order). Empty when nothing is near.
std::vector<std::string> closestNames(const std::string& name, const std::vector<std::string>& candidates,
                                      std::size_t limit = 3);

// "unknown attribute 'oxNoisAmp' on hxNoise1; did you mean oxNoiseAmp?" style suffix:
// "; did you mean A, B or C?" or "" when there is nothing to suggest.
std::string didYouMean(const std::vector<std::string>& names);

} // namespace hx
