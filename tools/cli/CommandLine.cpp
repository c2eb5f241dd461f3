#include "CommandLine.h"

#include "OutputName.h"
#include "PictureOptions.h"
#include "RecipeOptions.h"
#include "RecipeToml.h"
#include "Suggest.h"
#include "ThreadsOption.h"
#include "ValueParse.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <sstream>

namespace hx {
namespace {

constexpr const char* kExamples = R"(
The scene: the mesh goes into a transform named after its OBJ object or group (else the
file name) with its shape under it; the deformer is hxNoise1 and its locator
transform1|noiseLocator1, as the host's deformer command names them. Move transform1 to
move the deform space; set the noise on hxNoise1 (hxnoise info hxNoise lists it all).

Formats, by extension: meshes are read from .obj, .ply, .stl, .gltf, .glb, .fbx and .dae,
and written to .obj, .ply, .stl, .gltf and .glb; - is OBJ on standard input or output.
Pictures are .png. Point caches are .pc2 (little-endian) or .mdd (big-endian).

Evolving noise: keying a seed (--key hxNoise1.oyNoiseSeed@1001=1 --key
hxNoise1.oyNoiseSeed@1100=100) gives a new, unrelated pattern every time the seed changes:
the mesh flickers. For noise that evolves smoothly, leave the seeds alone and move the
deform space through the noise: key the locator's translate, and the pattern drifts
through the mesh a little each frame.

Examples:
  hxnoise deform -o out.obj --render out.png
      the bundled example mesh with the deformer's defaults
  hxnoise deform head.obj -o head_noisy.obj --set hxNoise1.oyNoiseAmp=0.5 \
      --set transform1.translate=0,1,0 --render head.png --view front --size 800x600
  hxnoise deform scan.ply -o scan_noisy.glb --set hxNoise1.oxNoiseAmp=0.2
      PLY in, GLB out
  cat head.obj | hxnoise deform - -o - --set hxNoise1.oyNoiseAmp=0.5 > noisy.obj
      a pipe: OBJ in on standard input, out on standard output
  hxnoise deform head.obj -o out/head.####.obj --frames 1001-1100 \
      --set hxNoise1.oxNoiseAmp=0.3 --set hxNoise1.oyNoiseAmp=0.3 --set hxNoise1.ozNoiseAmp=0.3 \
      --key transform1.translate@1001=0,0,0 --key transform1.translate@1100=0,0,2 --tangents smooth
      smoothly evolving noise: out/head.1001.obj .. out/head.1100.obj
  hxnoise deform head.obj -o head_rest.obj --cache head.pc2 --frames 1001-1100 \
      --set hxNoise1.oyNoiseAmp=0.3 --key transform1.tz@1001=0 --key transform1.tz@1100=2
      every frame's points in one point cache, the undeformed mesh as its rest shape
  hxnoise deform head.obj -o out/head.####.obj --frames 1001-1100 ... --save-config shot.toml
  parallel hxnoise deform --config shot.toml --frames {} ::: 1001-1025 1026-1050 1051-1075 1076-1100
      a shot saved as a recipe, then run in four chunks (GNU parallel, or one farm task a
      chunk): each frame's files are the same byte for byte as the whole run's
  hxnoise view head.obj --set hxNoise1.oyNoiseAmp=0.5
      a window: the viewport, a panel of every attribute, Save (Ctrl+S)
  hxnoise view --snapshot view.png
      a picture of the window (under xvfb-run where there is no display)
  hxnoise info              the registered node types
  hxnoise info hxNoise      one type's attributes: names, kind, default, limits, affects

Every OBJ written starts with comment lines holding the tool's version and the recipe of
its frame; every PNG holds them in a Comment text chunk.

Exit codes: 0 done; 1 a failure (a file, the plug-in, the evaluation); 2 a mistake on the
command line. Nothing is written unless the whole evaluation succeeded.)";

std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// `hxnoise view`: deform's options, which mean the same, and the window's own.
CLI::App* addViewCommand(CLI::App& app, ViewRequest& view)
{
    CLI::App* command = app.add_subcommand(
        "view",
        "Open a window on a mesh with an hxNoise deformer: the viewport (Alt or no key: left button "
        "tumbles, middle tracks, right dollies; wheel dollies; F frames), a panel of every attribute of "
        "hxNoise1, transform1 and noiseLocator1, a timeline when --frames and --key are given, and Save "
        "(Ctrl+S: the mesh, the picture, the recipe). --set, --key, --frames and --config work as for "
        "deform; -o and --render name what Save writes; --size is the window's size.");
    addRecipeOptions(*command, view.arguments);
    command->add_option_function<std::string>(
        "--config", [&view](const std::string& path) { view.config = path; },
        "Start from a recipe (deform's --save-config, or the window's Save), e.g. --config shot.toml; the options "
        "given here go on top of it");
    command->add_option("--save-config", view.saveConfig,
                        "Where Save writes the recipe, e.g. --save-config shot.toml (default: the mesh's name, .toml)");
    command->add_option("--snapshot", view.snapshot,
                        "Open the window, draw one frame with the panel, save it as this PNG and close, e.g. "
                        "--snapshot view.png; prints the panel's values");
    return command;
}

CommandLine usageError(const std::string& message)
{
    CommandLine result;
    result.action = CommandLine::Action::Exit;
    result.exitCode = 2;
    result.error = "hxnoise: " + oneLine(message) + " (see hxnoise --help)";
    return result;
}

// Options that mean nothing without another, in the words CLI11 uses for its own.
void checkOptionPairs(const RecipeArguments& a)
{
    const auto need = [](bool given, const char* option, bool needed, const char* other) {
        if (given && !needed) throw UsageError(std::string(option) + " requires " + other);
    };
    const bool frames = a.frames.has_value();
    need(frames, "--frames", !a.keys.empty(), "--key");
    need(!a.keys.empty(), "--key", frames, "--frames");
    need(a.step.has_value(), "--step", frames, "--frames");
    need(a.tangents.has_value(), "--tangents", frames, "--frames");
    const bool rendering = a.render && !a.render->empty();
    need(a.view.has_value(), "--view", rendering, "--render");
    need(a.size.has_value(), "--size", rendering, "--render");
}

} // namespace

Recipe checkDeformArguments(const RecipeArguments& arguments)
{
    checkOptionPairs(arguments);
    const Recipe recipe = makeRecipe(arguments);
    if (!recipe.output.empty() && recipe.output == recipe.render)
        throw UsageError("-o and --render name the same file " + recipe.output);
    if (!recipe.input.empty() && recipe.input != "-" && recipe.input == recipe.output)
        throw UsageError("-o names the input file " + recipe.input + "; write the deformed mesh to a new file");
    if (recipe.output == "-" && recipe.frames && recipe.cache.empty())
        throw UsageError(
            "-o - writes one mesh to standard output, and --frames writes one a frame; name the "
            "frames' files (-o out.####.obj) or write their points with --cache");
    return recipe;
}

Recipe deformRecipe(const DeformRequest& request)
{
    if (!request.config) return request.recipe;
    return checkDeformArguments(overlay(readRecipeFile(*request.config), request.arguments));
}

CommandLine parseCommandLine(int argc, const char* const* argv)
{
    CommandLine result;
    DeformRequest& deform = result.deform;

    CLI::App app("hxnoise: the hxNoise deformer on meshes, with a rendered viewport.", "hxnoise");
    app.require_subcommand(1);
    app.footer(kExamples);

    CLI::App* deformCommand = app.add_subcommand(
        "deform",
        "Put an hxNoise deformer and its locator on a mesh, evaluate, write the "
        "deformed mesh, a picture of the viewport and/or a point cache, for one frame or a sequence.");
    addRecipeOptions(*deformCommand, deform.arguments);
    addConfigOption(*deformCommand, deform.config);
    deformCommand->add_option("--save-config", deform.saveConfig,
                              "Write this run's complete options (every --set and --key in order) to a recipe "
                              "file that --config reads, e.g. --save-config shot.toml; it appears with the first "
                              "frame's files.");
    deformCommand->add_flag("--timings", deform.timings,
                            "Print the seconds spent in each phase (read, set-up, evaluate, render, write), wall "
                            "and processor time, on standard error, e.g. --timings");
    addThreadsOption(*deformCommand, deform.threads);

    CLI::App* viewCommand = addViewCommand(app, result.view);

    CLI::App* infoCommand = app.add_subcommand("info", "List the registered node types, or one type's attributes.");
    infoCommand->add_option("type", result.info.type, "A node type, e.g. hxNoise");
    infoCommand->add_option("--plugin", result.info.plugin,
                            "The plug-in to load first (default: the installed lib/hxnoise/plug-ins/hxNoise.so, "
                            "else MAYA_PLUG_IN_PATH)");

    // CLI11 would only say that a command is required; name the stranger and the near miss.
    if (argc > 1 && argv[1][0] != '-') {
        const std::string command = argv[1];
        const std::vector<std::string> commands = {"deform", "info", "view"};
        if (std::find(commands.begin(), commands.end(), command) == commands.end())
            return usageError("unknown command '" + command + "', expected deform, info or view" +
                              didYouMean(closestNames(command, commands)));
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) { // --help anywhere
            std::ostringstream out, err;
            app.exit(error, out, err);
            result.action = CommandLine::Action::Exit;
            result.exitCode = 0;
            result.output = out.str();
            return result;
        }
        return usageError(error.what());
    }

    if (infoCommand->parsed()) {
        result.command = CommandLine::Command::Info;
        result.action = CommandLine::Action::Run;
        return result;
    }
    if (viewCommand->parsed()) {
        result.command = CommandLine::Command::View;
        result.action = CommandLine::Action::Run;
        return result;
    }

    // Our own checks: CLI11 takes the text, we say what is wrong with it. A recipe file's
    // options are not known yet: the run checks them with the command line's.
    try {
        if (deform.config && deform.config->empty()) throw UsageError("--config needs a file name");
        // "-" is a mesh on standard input or output; a recipe beside it would share the stream.
        if (deform.config && *deform.config == "-")
            throw UsageError("--config -: a recipe is read from a named file, e.g. --config shot.toml");
        if (deform.saveConfig == "-")
            throw UsageError("--save-config -: a recipe is written to a named file, e.g. --save-config shot.toml");
        if (!deform.config) deform.recipe = checkDeformArguments(deform.arguments);
    } catch (const UsageError& error) {
        return usageError(error.what());
    }
    result.command = CommandLine::Command::Deform;
    result.action = CommandLine::Action::Run;
    return result;
}

} // namespace hx
