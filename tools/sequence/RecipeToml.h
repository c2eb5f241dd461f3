// RecipeToml: a recipe as the TOML text of --save-config, read back by CLI11 (--config), and
// as the comment lines at the top of every file a run writes.
//
// The text is written by us rather than by CLI11's config_to_str, which quotes without escapes
// and writes a list as one line. Strings go in TOML's literal quotes ('...', read as written:
// paths stay readable) unless they hold a ' or a control character; then in basic quotes with
// escapes, so that a newline in a name can never start a line of mesh data in an OBJ's comment.
// TOML is UTF-8: a name that is not UTF-8 text is refused. It reads back with recipeFormat().
#pragma once

#include "Recipe.h"

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace hx {

// "hxNoise 3.0": the tool and the project's version.
std::string toolVersion();

// The recipe file: a comment line with the tool's version, then the [deform] table. Throws
// UsageError for a name that is not UTF-8 text.
std::string recipeToml(const Recipe& recipe);

// Reads a recipe file's options as CLI11 does with recipeFormat(); makeRecipe checks them.
// Throws UsageError naming `source` for text that is not a recipe: not TOML (with its line),
// an unknown key, a list for a single option.
RecipeArguments readRecipeArguments(std::istream& text, const std::string& source);
// Throws ToolError when the file cannot be read.
RecipeArguments readRecipeFile(const std::string& path);

// The comment lines of `frame`'s files (no frame: the one evaluation's): the tool's version,
// then the [deform] table of recipeForFrame. An OBJ puts "# " before each; a PNG keeps them in
// a text chunk. Without the first line, they are a recipe file that makes those files again.
std::vector<std::string> recipeComment(const Recipe& recipe, std::optional<int> frame);

} // namespace hx
