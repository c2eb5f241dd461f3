// What `hxnoise view` was asked to do, as typed: checked when the window's scene is built
// (makeRecipe), as a --config file must be read first.
#pragma once

#include "Recipe.h"

#include <optional>
#include <string>

namespace hx {

struct ViewRequest
{
    // The options deform takes, which mean the same here: the mesh, --set, --key, --frames,
    // --plugin; -o and --render name what Save writes; --size is the window's size and --view,
    // --hud and --shading how its viewport starts.
    RecipeArguments arguments;
    std::optional<std::string> config; // --config: a recipe to start from
    std::string saveConfig;            // --save-config: where Save writes the recipe
    std::string snapshot;              // --snapshot: save a picture of the window and close
};

} // namespace hx
