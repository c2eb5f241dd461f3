#include "CommandLine.h"

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

Examples:
  hxnoise deform -o out.obj --render out.png
      the bundled example mesh with the deformer's defaults
  hxnoise deform head.obj -o head_noisy.obj --set hxNoise1.oyNoiseAmp=0.5 \
      --set transform1.translate=0,1,0 --render head.png --view front --size 800x600
  hxnoise deform head.obj -o anim.obj --frames 24 --key hxNoise1.oyNoiseSeed=1:24
      writes anim_0001.obj .. anim_0024.obj
  hxnoise info              the registered node types
  hxnoise info hxNoise      one type's attributes: names, kind, default, limits, affects

Exit codes: 0 done; 1 a failure (a file, the plug-in, the evaluation); 2 a mistake on the
command line. Nothing is written unless the whole evaluation succeeded.)";

std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

CommandLine usageError(const std::string& message)
{
    CommandLine result;
    result.action = CommandLine::Action::Exit;
    result.exitCode = 2;
    result.error = "hxnoise: " + oneLine(message) + " (see hxnoise --help)";
    return result;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv)
{
    CommandLine result;
    DeformRequest& deform = result.deform;

    CLI::App app("hxnoise: the hxNoise deformer on OBJ meshes, with a rendered viewport.",
                 "hxnoise");
    app.require_subcommand(1);
    app.footer(kExamples);

    CLI::App* deformCommand = app.add_subcommand(
        "deform", "Put an hxNoise deformer and its locator on a mesh, evaluate, write the "
                  "deformed mesh and/or a picture of the viewport.");
    deformCommand->add_option("input", deform.input,
                              "The mesh to deform (OBJ), e.g. head.obj; default: the bundled example mesh.");
    deformCommand->add_option("-o,--output", deform.output,
                              "Write the deformed mesh here (OBJ), e.g. -o out.obj. The file "
                              "is replaced whole or not at all.");
    std::vector<std::string> settings;
    deformCommand
        ->add_option("--set", settings,
                     "Set an attribute before evaluating, in the order given; long or short "
                     "names; a compound takes a comma list. e.g. --set hxNoise1.oyNoiseAmp=0.5 "
                     "--set transform1.translate=1,2,3 --set transform1.tx=1")
        ->allow_extra_args(false);
    deformCommand->add_option("--render", deform.render,
                              "Render the viewport to this PNG file, e.g. --render view.png");
    CLI::Option* view =
        deformCommand
            ->add_option("--view", deform.view,
                         "Camera for --render: persp (frames the mesh and the locator), top, "
                         "front or side, e.g. --view top")
            ->check(CLI::IsMember({"persp", "top", "front", "side"}));
    std::string size;
    CLI::Option* sizeOption = deformCommand->add_option(
        "--size", size, "Image size WIDTHxHEIGHT for --render, e.g. --size 800x600 (default 640x480)");
    std::string frames;
    CLI::Option* framesOption = deformCommand->add_option(
        "--frames", frames,
        "Evaluate N frames with the --key attributes moving linearly; outputs are numbered, "
        "e.g. --frames 24 writes out_0001.obj .. out_0024.obj");
    std::vector<std::string> keys;
    CLI::Option* keysOption =
        deformCommand
            ->add_option("--key", keys,
                         "With --frames: an attribute going from FROM on the first frame to TO "
                         "on the last (rounded for integers), e.g. --key hxNoise1.oxNoiseAmp=0:2")
            ->allow_extra_args(false);
    deformCommand->add_option("--plugin", deform.plugin,
                              "The plug-in to load, e.g. --plugin build/src/hxNoise.so "
                              "(default: hxNoise.so beside hxnoise)");
    addThreadsOption(*deformCommand, deform.threads);
    CLI::Option* renderOption = deformCommand->get_option("--render");
    view->needs(renderOption);
    sizeOption->needs(renderOption);
    framesOption->needs(keysOption);
    keysOption->needs(framesOption);

    CLI::App* infoCommand = app.add_subcommand(
        "info", "List the registered node types, or one type's attributes.");
    infoCommand->add_option("type", result.info.type, "A node type, e.g. hxNoise");
    infoCommand->add_option("--plugin", result.info.plugin,
                            "The plug-in to load first (default: hxNoise.so beside hxnoise)");

    // CLI11 would only say that a command is required; name the stranger and the near miss.
    if (argc > 1 && argv[1][0] != '-') {
        const std::string command = argv[1];
        const std::vector<std::string> commands = {"deform", "info"};
        if (std::find(commands.begin(), commands.end(), command) == commands.end())
            return usageError("unknown command '" + command + "', expected deform or info" +
                              didYouMean(closestNames(command, commands)));
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {  // --help anywhere
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

    // Our own checks: CLI11 takes the text, we say what is wrong with it.
    try {
        for (const std::string& text : settings) deform.settings.push_back(parseSetting(text));
        for (const std::string& text : keys) deform.keys.push_back(parseKey(text));
        if (!size.empty()) parseSize(size, kMaxImageSide, deform.width, deform.height);
        if (!frames.empty()) {
            deform.frames = parseInteger(frames, "--frames");
            if (deform.frames < 1 || deform.frames > kMaxFrames)
                throw UsageError("--frames " + frames + " is outside 1.." +
                                 std::to_string(kMaxFrames));
        }
        if (!deform.output.empty() && deform.output == deform.render)
            throw UsageError("-o and --render name the same file " + deform.output);
        if (!deform.input.empty() && deform.input == deform.output)
            throw UsageError("-o names the input file " + deform.input +
                             "; write the deformed mesh to a new file");
    } catch (const UsageError& error) {
        return usageError(error.what());
    }
    result.command = CommandLine::Command::Deform;
    result.action = CommandLine::Action::Run;
    return result;
}

}  // namespace hx
