// Recipe: everything a deform run was asked to do, as one value, so that the command line,
// a recipe file, a window and Python all mean the same run by it.
//
// A Recipe is checked: its frames are a FrameRange, its keys are at frames (the FROM:TO form
// already placed on the range's ends), its numbers are numbers. RecipeArguments is the same
// run as typed, on a command line or in a recipe file, before any check; makeRecipe turns one
// into the other and recipeArguments back, with numbers in their shortest exact form, so that
// a recipe written and read again is the same recipe to the bit.
//
// What the names in a recipe refer to (the nodes, their attributes, the files) is checked by
// the run, which has the scene.
#pragma once

#include "AttributeSetting.h"
#include "FrameRange.h"
#include "Key.h"
#include "KeyCurve.h"

#include <optional>
#include <string>
#include <vector>

namespace hx {

struct Recipe
{
    std::string input;  // the mesh; empty: the bundled example mesh
    std::string output; // the deformed mesh; empty: none. With frames, # is the frame number
    std::string render; // the viewport picture; empty: none
    // A point cache of every frame's points (.pc2 or .mdd); empty: none. With a cache, the
    // mesh of -o is written once, undeformed, as the cache's rest shape.
    std::string cache;
    std::string view = "persp";
    int width = 640;
    int height = 480;
    bool hud = true;                  // the picture's heads-up display
    std::string shading = "auto";     // auto, smooth, wire or both
    std::optional<FrameRange> frames; // none: one evaluation, unnumbered outputs
    Tangents tangents = Tangents::Linear;
    std::vector<AttributeSetting> settings; // applied in order
    std::vector<Key> keys;                  // in the order given
    std::string plugin;                     // empty: the installed plug-in (PluginFile.h)
};

// The options of a run as typed. An option not given is std::nullopt: it is then neither
// written nor overriding anything.
struct RecipeArguments
{
    std::optional<std::string> input;
    std::optional<std::string> output;
    std::optional<std::string> render;
    std::optional<std::string> cache;
    std::optional<std::string> view;
    std::optional<std::string> size;
    std::optional<std::string> hud;
    std::optional<std::string> shading;
    std::optional<std::string> frames;
    std::optional<std::string> step;
    std::optional<std::string> tangents;
    std::vector<std::string> settings;
    std::vector<std::string> keys;
    std::optional<std::string> plugin;
};

// Options from `commandLine` on top of a recipe file's: each single option the command line
// gives replaces the file's, and its --set and --key come after the file's (so a --set of the
// command line is applied last, and wins; a --key on a number and frame the file keys already
// is two keys, and refused).
RecipeArguments overlay(const RecipeArguments& file, const RecipeArguments& commandLine);

// Checks and reads every option. Throws UsageError, one line: a value that is not what its
// option takes, --key without --frames, --view, --size, --hud or --shading without --render, a
// # in an output name without --frames, ...
Recipe makeRecipe(const RecipeArguments& arguments);

// The options that make `recipe` again: makeRecipe(recipeArguments(r)) is r. Every value the
// run depends on is given, defaults included, so that a later default cannot change it.
RecipeArguments recipeArguments(const Recipe& recipe);

// The recipe of `frame`'s files: its frames narrowed to that one frame (the step kept), and no
// cache, which is a file of the whole run (a one-frame run would write over it). It is the
// same for every run that writes that frame, whole shot or farm chunk, and makes the frame's
// files again.
Recipe recipeForFrame(const Recipe& recipe, int frame);

} // namespace hx
