// What `hxnoise` was asked to do, parsed and checked, free of any engine types.
#pragma once

#include "AttributeSetting.h"
#include "Recipe.h"

#include <optional>
#include <string>

namespace hx {

struct DeformRequest
{
    // The run's options as typed on the command line.
    RecipeArguments arguments;
    // --config FILE: a recipe file whose options come first, the command line's on top.
    std::optional<std::string> config;
    // --save-config FILE: where to write the run's complete recipe; empty: nowhere.
    std::string saveConfig;
    // --timings: one line per phase on standard error.
    bool timings = false;
    // The checked run. Without --config it is made from `arguments` by the parser; with one,
    // the command reads the file and makes it (deformRecipe in CommandLine.h).
    Recipe recipe;
    // --threads N: the size of the host's thread pool; 0: every core. Not part of the recipe,
    // as any number of threads writes the same bytes.
    unsigned int threads = 0;
};

struct InfoRequest
{
    std::string type;   // empty: list every registered node type
    std::string plugin; // empty: hxNoise.so beside the tool
};

} // namespace hx
