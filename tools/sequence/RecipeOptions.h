// RecipeOptions: a deform run's options as CLI11 reads them, from a command line or a recipe
// file, declared once for both so that a recipe's names are the command line's.
//
// A recipe file is TOML that CLI11 reads as a config file: a [deform] table whose keys are the
// long option names, --set and --key as arrays in order:
//
//   [deform]
//   output = 'shot.####.obj'
//   frames = '1001-1100'
//   set = ['hxNoise1.oxNoiseAmp=0.5',
//          'transform1.translate=0,1,0']
//   key = ['transform1.translate@1001=0,0,0',
//          'transform1.translate@1100=0,0,5']
//
// recipeFormat() reads that TOML for CLI11 with toml++: CLI11 2.1's own reader cuts a value at
// its first # even inside quotes (and every output name with a frame number has one), reads no
// escapes, and drops a key given twice without a word. Any TOML reads as TOML does; a
// mistake is one line naming where it is.
#pragma once

#include "Recipe.h"

#include <memory>
#include <optional>
#include <string>

namespace CLI {
class App;
class Config;
} // namespace CLI

namespace hx {

// Adds the input positional and -o/--output, --render, --cache, --view, --size, --hud,
// --shading, --frames, --step, --tangents, --set, --key and --plugin to `command`, each storing
// into `into` (which must outlive the parse) when given. Nothing is checked here: makeRecipe does that.
void addRecipeOptions(CLI::App& command, RecipeArguments& into);

// Adds --config FILE to a command that takes the recipe options: the file's options are read
// first (readRecipeFile), the command line's laid on top of them (overlay).
void addConfigOption(CLI::App& command, std::optional<std::string>& into);

// The TOML reader for recipe files: app.config_formatter(recipeFormat()). Tables are
// subcommands ([deform]); the subcommand need not be configurable, as the command line names it.
std::shared_ptr<CLI::Config> recipeFormat();

} // namespace hx
