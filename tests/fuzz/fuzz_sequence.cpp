// fuzz_sequence: the sequence layer's parsers on any text.
//
// The whole input is read as a recipe file. A file that makes a recipe must write back as a
// recipe file that reads to the same recipe (the written text is a fixed point), give comment
// lines that cannot break an OBJ (no control characters), name every frame's files within the
// folders it gave, and give key curves that stay within their keys at every frame. The input
// split at NUL bytes also goes, piece by piece, to the frame range, key, tangents and output
// name parsers: each refuses with UsageError or returns what the text says.
#include "FuzzBytes.h"

#include "Animation.h"
#include "OutputName.h"
#include "Recipe.h"
#include "RecipeToml.h"
#include "ValueParse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

bool hasControl(const std::string& line)
{
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f; });
}

// Each key's values go to "NODE.ATTR[i]": the plugs as typed, one per component.
std::vector<hx::KeyedNumber> asTyped(const hx::Key& key)
{
    std::vector<hx::KeyedNumber> numbers;
    for (std::size_t i = 0; i < key.values.size(); ++i)
        numbers.push_back({key.plugName() + "[" + std::to_string(i) + "]", key.attribute.size() % 2 == 0});
    return numbers;
}

void checkRecipe(const std::string& text)
{
    hx::Recipe recipe;
    try {
        std::istringstream in(text);
        recipe = hx::makeRecipe(hx::readRecipeArguments(in, "fuzz"));
    } catch (const hx::UsageError&) {
        return;
    }
    std::string written;
    try {
        written = hx::recipeToml(recipe);
    } catch (const hx::UsageError&) {
        return; // a name that is not UTF-8 text
    }
    std::istringstream again(written);
    const hx::Recipe back = hx::makeRecipe(hx::readRecipeArguments(again, "written"));
    HX_FUZZ_CHECK(hx::recipeToml(back) == written);
    HX_FUZZ_CHECK(back.settings.size() == recipe.settings.size() && back.keys.size() == recipe.keys.size());
    HX_FUZZ_CHECK(back.hud == recipe.hud && back.shading == recipe.shading);
    for (std::size_t i = 0; i < back.settings.size(); ++i)
        HX_FUZZ_CHECK(sameBits(back.settings[i].numbers, recipe.settings[i].numbers));
    for (std::size_t i = 0; i < back.keys.size(); ++i)
        HX_FUZZ_CHECK(sameBits(back.keys[i].values, recipe.keys[i].values));

    if (!recipe.frames) {
        for (const std::string& line : hx::recipeComment(recipe, std::nullopt)) HX_FUZZ_CHECK(!hasControl(line));
        return;
    }
    const hx::FrameRange& range = *recipe.frames;
    HX_FUZZ_CHECK(range.count() >= 1 && range.count() <= 100000);
    hx::Animation animation;
    try {
        animation = hx::Animation(recipe.keys, recipe.tangents, asTyped);
    } catch (const hx::UsageError&) {
        return; // two keys on one number at one frame
    }
    // A few frames of the range: the first, the last and one between.
    for (int frame : {range.first, range.frame(range.count() / 2), range.lastFrame()}) {
        for (const std::string& line : hx::recipeComment(recipe, frame)) HX_FUZZ_CHECK(!hasControl(line));
        for (const std::string& path : {recipe.output, recipe.render}) {
            const std::string name = hx::framePath(path, frame, range);
            const std::size_t slash = path.find_last_of('/');
            if (slash != std::string::npos) HX_FUZZ_CHECK(name.compare(0, slash + 1, path, 0, slash + 1) == 0);
        }
        for (std::size_t c = 0; c < animation.channels().size(); ++c) {
            const auto& keys = animation.channels()[c].curve.keys();
            double low = keys.front().value, high = low;
            for (const auto& key : keys) {
                low = std::min(low, key.value);
                high = std::max(high, key.value);
            }
            const double value = animation.valueAt(c, frame + 0.5);
            HX_FUZZ_CHECK(std::isfinite(value));
            if (!animation.channels()[c].integer) HX_FUZZ_CHECK(value >= low && value <= high);
        }
    }
}

void checkPiece(const std::string& text, int step)
{
    try {
        const hx::FrameRange range = hx::parseFrameRange(text, step);
        HX_FUZZ_CHECK(range.first <= range.last && range.count() >= 1 && range.count() <= 100000);
        HX_FUZZ_CHECK(hx::parseFrameRange(range.text(), step) == range);
        const hx::FrameRange chunk = range.chunk(range.first + step / 2, range.last);
        HX_FUZZ_CHECK(range.contains(chunk.first));
    } catch (const hx::UsageError&) {
    }
    try {
        const hx::KeyArgument argument = hx::parseKeyArgument(text);
        HX_FUZZ_CHECK(!argument.values.empty() && argument.values.size() == argument.parts.size());
        for (const hx::Key& key : hx::keysOf(argument, hx::FrameRange{})) {
            const hx::KeyArgument again = hx::parseKeyArgument(hx::keyText(key));
            HX_FUZZ_CHECK(again.frame == key.frame && sameBits(again.values, key.values));
        }
    } catch (const hx::UsageError&) {
    }
    try {
        hx::parseTangents(text);
    } catch (const hx::UsageError&) {
    }
    try {
        const std::string name = hx::framePath(text, step - 50, hx::FrameRange{-50, 5000, 1});
        HX_FUZZ_CHECK(name.size() >= text.size());
    } catch (const hx::UsageError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkRecipe(text);
    std::size_t begin = 0;
    for (int piece = 0; begin <= text.size(); ++piece) {
        const std::size_t end = std::min(text.find('\0', begin), text.size());
        checkPiece(text.substr(begin, end - begin), 1 + piece % 7);
        begin = end + 1;
    }
    return 0;
}
