#include "Recipe.h"

#include "CommandLine.h"
#include "NumberText.h"
#include "OutputName.h"
#include "PictureOptions.h"
#include "Suggest.h"
#include "ValueParse.h"

#include <algorithm>

namespace hx {
namespace {

const std::vector<std::string> kViews = {"persp", "top", "front", "side"};

void needs(const std::optional<std::string>& option, const char* name, bool given, const char* needed)
{
    if (option && !given) throw UsageError(std::string(name) + " needs " + needed);
}

std::string settingText(const AttributeSetting& setting)
{
    return setting.node + "." + setting.attribute + "=" + formatNumbers(setting.numbers);
}

} // namespace

RecipeArguments overlay(const RecipeArguments& file, const RecipeArguments& commandLine)
{
    RecipeArguments merged = file;
    for (auto member :
         {&RecipeArguments::input, &RecipeArguments::output, &RecipeArguments::render, &RecipeArguments::cache,
          &RecipeArguments::view, &RecipeArguments::size, &RecipeArguments::hud, &RecipeArguments::shading,
          &RecipeArguments::frames, &RecipeArguments::step, &RecipeArguments::tangents, &RecipeArguments::plugin})
        if (commandLine.*member) merged.*member = commandLine.*member;
    merged.settings.insert(merged.settings.end(), commandLine.settings.begin(), commandLine.settings.end());
    merged.keys.insert(merged.keys.end(), commandLine.keys.begin(), commandLine.keys.end());
    return merged;
}

Recipe makeRecipe(const RecipeArguments& a)
{
    Recipe recipe;
    recipe.input = a.input.value_or("");
    recipe.output = a.output.value_or("");
    recipe.render = a.render.value_or("");
    recipe.cache = a.cache.value_or("");
    recipe.plugin = a.plugin.value_or("");

    const bool rendering = !recipe.render.empty();
    needs(a.view, "--view", rendering, "--render");
    needs(a.size, "--size", rendering, "--render");
    if (a.view) {
        if (std::find(kViews.begin(), kViews.end(), *a.view) == kViews.end())
            throw UsageError("--view '" + *a.view + "' is not persp, top, front or side" +
                             didYouMean(closestNames(*a.view, kViews)));
        recipe.view = *a.view;
    }
    if (a.size) parseSize(*a.size, kMaxImageSide, recipe.width, recipe.height);
    needs(a.hud, "--hud", rendering, "--render");
    needs(a.shading, "--shading", rendering, "--render");
    if (a.hud) recipe.hud = checkHud(*a.hud);
    if (a.shading) recipe.shading = checkShading(*a.shading);

    const bool sequence = a.frames.has_value();
    needs(a.step, "--step", sequence, "--frames");
    needs(a.tangents, "--tangents", sequence, "--frames");
    if (!a.keys.empty() && !sequence) throw UsageError("--key needs --frames");
    if (sequence) recipe.frames = parseFrameRange(*a.frames, a.step ? parseStep(*a.step) : 1);
    if (a.tangents) recipe.tangents = parseTangents(*a.tangents);

    for (const auto& [path, option] : {std::pair{recipe.output, "-o"}, std::pair{recipe.render, "--render"}}) {
        checkFramePattern(path, option);
        if (!sequence && hasFrameNumber(path))
            throw UsageError(std::string(option) + " '" + path +
                             "' has # for a frame number, but no --frames gives frames");
    }

    for (const std::string& text : a.settings) recipe.settings.push_back(parseSetting(text));
    for (const std::string& text : a.keys)
        for (Key& key : keysOf(parseKeyArgument(text), *recipe.frames)) recipe.keys.push_back(std::move(key));
    return recipe;
}

RecipeArguments recipeArguments(const Recipe& recipe)
{
    RecipeArguments a;
    if (!recipe.input.empty()) a.input = recipe.input;
    if (!recipe.output.empty()) a.output = recipe.output;
    if (!recipe.cache.empty()) a.cache = recipe.cache;
    if (!recipe.render.empty()) {
        a.render = recipe.render;
        a.view = recipe.view;
        a.size = std::to_string(recipe.width) + "x" + std::to_string(recipe.height);
        a.hud = recipe.hud ? "on" : "off";
        a.shading = recipe.shading;
    }
    if (recipe.frames) {
        a.frames = recipe.frames->text();
        a.step = std::to_string(recipe.frames->step);
        a.tangents = tangentsName(recipe.tangents);
    }
    for (const AttributeSetting& setting : recipe.settings) a.settings.push_back(settingText(setting));
    for (const Key& key : recipe.keys) a.keys.push_back(keyText(key));
    if (!recipe.plugin.empty()) a.plugin = recipe.plugin;
    return a;
}

Recipe recipeForFrame(const Recipe& recipe, int frame)
{
    Recipe one = recipe;
    one.cache.clear();
    if (one.frames) {
        one.frames->first = frame;
        one.frames->last = frame;
    }
    return one;
}

} // namespace hx
