// fuzz_cli: the hxnoise command line and its value parsers on any arguments.
//
// The input is the argument list: arguments separated by NUL bytes, as the kernel hands them
// over (the program name is put in front). parseCommandLine must never throw and must leave a
// consistent answer: help (exit 0, text on standard output), one usage-error line (exit 2), or
// a request whose every value is checked (its recipe file, with --config, is read by the run). Each argument also goes
// through the value parsers directly: they refuse with UsageError or return what the text says, and nothing else.
#include "FuzzBytes.h"

#include "CommandLine.h"
#include "Key.h"
#include "OutputName.h"
#include "PictureOptions.h"
#include "Recipe.h"
#include "Suggest.h"
#include "ValueParse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using hx::CommandLine;

namespace {

std::vector<std::string> splitArguments(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (!current.empty() || size == 0) args.push_back(current);
    return args;
}

bool isPlugPart(const std::string& node, const std::string& attribute)
{
    return !node.empty() && !attribute.empty() && node.find('.') == std::string::npos;
}

void checkRecipe(const hx::Recipe& r)
{
    for (const hx::AttributeSetting& s : r.settings) {
        HX_FUZZ_CHECK(isPlugPart(s.node, s.attribute));
        HX_FUZZ_CHECK(!s.parts.empty() && s.parts.size() == s.numbers.size());
        for (double v : s.numbers) HX_FUZZ_CHECK(std::isfinite(v));
    }
    for (const hx::Key& k : r.keys) {
        HX_FUZZ_CHECK(isPlugPart(k.node, k.attribute));
        HX_FUZZ_CHECK(!k.values.empty() && k.values.size() == k.parts.size());
        for (double v : k.values) HX_FUZZ_CHECK(std::isfinite(v));
        HX_FUZZ_CHECK(r.frames && k.frame >= -hx::kMaxFrameNumber && k.frame <= hx::kMaxFrameNumber);
    }
    HX_FUZZ_CHECK(r.width >= 1 && r.width <= hx::kMaxImageSide);
    HX_FUZZ_CHECK(r.height >= 1 && r.height <= hx::kMaxImageSide);
    HX_FUZZ_CHECK(!r.frames || (r.frames->count() >= 1 && r.frames->count() <= hx::kMaxFrames));
    HX_FUZZ_CHECK(r.frames.has_value() == !r.keys.empty());
    HX_FUZZ_CHECK(r.view == "persp" || r.view == "top" || r.view == "front" || r.view == "side");
    HX_FUZZ_CHECK(r.shading == "auto" || r.shading == "smooth" || r.shading == "wire" || r.shading == "both");
    HX_FUZZ_CHECK(!r.render.empty() || (r.hud && r.shading == "auto"));
    HX_FUZZ_CHECK(r.output.empty() || r.output != r.render);
    HX_FUZZ_CHECK(r.input.empty() || r.input == "-" || r.input != r.output);
    // With a cache, -o is one file; without one, standard output takes one mesh only.
    if (!r.cache.empty()) HX_FUZZ_CHECK(!hx::hasFrameNumber(r.output));
    if (r.output == "-") HX_FUZZ_CHECK(!r.frames || !r.cache.empty());
}

void checkRequest(const hx::DeformRequest& r)
{
    // A recipe file is read by the run; without one, the request is checked in full here.
    if (r.config)
        HX_FUZZ_CHECK(!r.config->empty());
    else
        checkRecipe(r.recipe);
}

// The view's arguments as the view checks them: its window's options read alone, the rest a
// recipe without a picture. Either refuses with UsageError or gives checked values.
void checkView(const hx::ViewRequest& v)
{
    hx::RecipeArguments a = v.arguments;
    try {
        if (a.hud) hx::checkHud(*a.hud);
        if (a.shading) {
            const std::string shading = hx::checkShading(*a.shading);
            HX_FUZZ_CHECK(shading == *a.shading);
        }
        if (a.size) {
            int width = 0, height = 0;
            hx::parseSize(*a.size, hx::kMaxImageSide, width, height);
            HX_FUZZ_CHECK(width >= 1 && height >= 1);
        }
    } catch (const hx::UsageError&) {
    }
    a.view.reset();
    a.size.reset();
    a.hud.reset();
    a.shading.reset();
    try {
        const hx::Recipe recipe = hx::makeRecipe(a);
        HX_FUZZ_CHECK(recipe.keys.empty() || recipe.frames.has_value());
        HX_FUZZ_CHECK(recipe.settings.size() == a.settings.size());
    } catch (const hx::UsageError&) {
    }
}

void checkCommandLine(const std::vector<std::string>& args)
{
    std::vector<const char*> argv = {"hxnoise"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    const CommandLine cl = hx::parseCommandLine(static_cast<int>(argv.size()), argv.data());

    if (cl.action == CommandLine::Action::Exit) {
        if (cl.exitCode == 0) {
            HX_FUZZ_CHECK(!cl.output.empty() && cl.error.empty());
        } else {
            HX_FUZZ_CHECK(cl.exitCode == 2);
            HX_FUZZ_CHECK(cl.output.empty());
            HX_FUZZ_CHECK(cl.error.rfind("hxnoise: ", 0) == 0);
            HX_FUZZ_CHECK(cl.error.find('\n') == std::string::npos);
        }
        return;
    }
    HX_FUZZ_CHECK(cl.error.empty());
    if (cl.command == CommandLine::Command::Deform) checkRequest(cl.deform);
    if (cl.command == CommandLine::Command::View) checkView(cl.view);
}

// Each parser either refuses with UsageError or returns a value that re-assembles into the
// text it was given; any other exception escapes and ends the run as a crash.
void checkValueParsers(const std::string& text)
{
    bool isNumber = false;
    double number = 0.0;
    try {
        number = hx::parseNumber(text, "value");
        HX_FUZZ_CHECK(std::isfinite(number));
        isNumber = true;
    } catch (const hx::UsageError&) {
    }
    try {
        const int integer = hx::parseInteger(text, "value");
        // An integer is a number too, and the same one.
        HX_FUZZ_CHECK(isNumber && number == static_cast<double>(integer));
    } catch (const hx::UsageError&) {
    }
    try {
        const hx::AttributeSetting s = hx::parseSetting(text);
        HX_FUZZ_CHECK(isPlugPart(s.node, s.attribute));
        HX_FUZZ_CHECK(s.node + "." + s.attribute + "=" + s.text == text);
        HX_FUZZ_CHECK(!s.parts.empty() && s.parts.size() == s.numbers.size());
        std::string joined;
        for (std::size_t i = 0; i < s.parts.size(); ++i) joined += (i ? "," : "") + s.parts[i];
        HX_FUZZ_CHECK(joined == s.text);
        for (double v : s.numbers) HX_FUZZ_CHECK(std::isfinite(v));
    } catch (const hx::UsageError&) {
    }
    try {
        const hx::KeyArgument k = hx::parseKeyArgument(text);
        HX_FUZZ_CHECK(isPlugPart(k.node, k.attribute));
        HX_FUZZ_CHECK(!k.values.empty() && k.values.size() == k.parts.size());
        HX_FUZZ_CHECK(k.frame || k.toValues.size() == k.values.size());
        for (double v : k.values) HX_FUZZ_CHECK(std::isfinite(v));
        for (double v : k.toValues) HX_FUZZ_CHECK(std::isfinite(v));
    } catch (const hx::UsageError&) {
    }
    try {
        int width = 0, height = 0;
        hx::parseSize(text, hx::kMaxImageSide, width, height);
        HX_FUZZ_CHECK(width >= 1 && width <= hx::kMaxImageSide);
        HX_FUZZ_CHECK(height >= 1 && height <= hx::kMaxImageSide);
    } catch (const hx::UsageError&) {
    }

    // Per-frame names: the suffix goes into the file name, the folders stay as they were.
    const int frameCount = 1 + static_cast<int>(text.size() * 7919 % hx::kMaxFrames);
    const int frame = 1 + static_cast<int>(text.size() % static_cast<std::size_t>(frameCount));
    try {
        const std::string numbered = hx::framePath(text, frame, hx::parseFrameRange(std::to_string(frameCount)));
        const std::size_t slash = text.find_last_of('/');
        if (slash != std::string::npos) HX_FUZZ_CHECK(numbered.compare(0, slash + 1, text, 0, slash + 1) == 0);
        // A run of # becomes the frame number, at least as wide; no # gets "_" and 4 digits or more.
        if (hx::hasFrameNumber(text))
            HX_FUZZ_CHECK(numbered.size() >= text.size());
        else
            HX_FUZZ_CHECK(numbered.size() > text.size() + 4);
    } catch (const hx::UsageError&) {
        HX_FUZZ_CHECK(text.find('#') != std::string::npos); // only a # can be misplaced
    }

    // Suggestions: a distance is symmetric and zero to itself; suggestions are candidates.
    if (text.size() <= 256) {
        const std::vector<std::string> names = {"oxNoiseAmp", "oyNoiseFreq", "translate", "tx"};
        HX_FUZZ_CHECK(hx::editDistance(text, text) == 0);
        HX_FUZZ_CHECK(hx::editDistance(text, names[0]) == hx::editDistance(names[0], text));
        for (const std::string& s : hx::closestNames(text, names))
            HX_FUZZ_CHECK(std::find(names.begin(), names.end(), s) != names.end());
        hx::didYouMean(hx::closestNames(text, names));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> args = splitArguments(data, size);
    checkCommandLine(args);
    for (const std::string& a : args) checkValueParsers(a);
    return 0;
}
