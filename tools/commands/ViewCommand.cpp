#include "ViewCommand.h"

#include "CommandLine.h"
#include "DeformCommand.h"
#include "DeformScene.h"
#include "Interruption.h"
#include "MeshFiles.h"
#include "MeshFormat.h"
#include "OutputPlan.h"
#include "PictureOptions.h"
#include "PluginFile.h"
#include "RecipeToml.h"
#include "SceneWorker.h"
#include "Suggest.h"
#include "ToolError.h"
#include "ValueParse.h"
#include "ViewWindow.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace hx {
namespace {

// Takes the window's own options out of `arguments`: the window's size, the view it opens on,
// and how its viewport draws. What is left is a recipe without a picture of its own.
WindowOptions windowOptions(RecipeArguments& arguments)
{
    WindowOptions window;
    if (arguments.size) parseSize(*arguments.size, kMaxImageSide, window.width, window.height);
    if (arguments.view && !parseView(*arguments.view, window.view)) {
        const std::vector<std::string> views = {"persp", "top", "front", "side"};
        throw UsageError("--view '" + *arguments.view + "' is not persp, top, front or side" +
                         didYouMean(closestNames(*arguments.view, views)));
    }
    if (arguments.hud) window.hud = checkHud(*arguments.hud);
    if (arguments.shading) parseShading(checkShading(*arguments.shading), window.shading);
    arguments.size.reset();
    arguments.view.reset();
    arguments.hud.reset();
    arguments.shading.reset();
    return window;
}

// "head_noise.ply" for head.ply, in the working directory.
std::string defaultName(const std::string& input, const std::string& extension)
{
    return fs::path(input).stem().string() + "_noise" + extension;
}

} // namespace

int runView(const ViewRequest& request)
{
    RecipeArguments arguments = request.arguments;
    if (request.config) arguments = overlay(readRecipeFile(*request.config), arguments);
    WindowOptions window = windowOptions(arguments);
    const Recipe recipe = makeRecipe(arguments);

    const std::string input = recipe.input.empty() ? bundledExampleMesh() : recipe.input;
    if (recipe.input.empty() && !fs::exists(input))
        throw ToolError("the bundled example mesh " + input + " is missing; name a mesh to view");
    const std::string plugin = locatePlugin(recipe.plugin);

    // What Save offers: the run's own names, else names made from the mesh's.
    window.saveNames.mesh = recipe.output;
    if (window.saveNames.mesh.empty()) {
        std::string extension = fs::path(input).extension().string();
        try {
            meshFormatForWriting(input);
        } catch (const MeshFormatError&) {
            extension = ".obj";
        }
        window.saveNames.mesh = defaultName(input, input == "-" ? ".obj" : extension);
    }
    window.saveNames.picture = recipe.render.empty() ? defaultName(input, ".png") : recipe.render;
    window.saveNames.recipe = request.saveConfig.empty()
                                  ? fs::path(window.saveNames.mesh).replace_extension(".toml").string()
                                  : request.saveConfig;
    if (window.saveNames.recipe.find('#') != std::string::npos) window.saveNames.recipe = defaultName(input, ".toml");

    if (!request.snapshot.empty()) {
        try {
            checkPictureName(request.snapshot);
        } catch (const MeshFormatError& error) {
            throw UsageError(std::string("--snapshot ") + error.what());
        }
        OutputPlan plan;
        plan.addInput(input, "the input mesh " + input);
        plan.addInput(plugin, "the plug-in " + plugin);
        if (request.config) plan.addInput(*request.config, "the recipe " + *request.config);
        plan.addOutput(request.snapshot, "--snapshot " + request.snapshot);
        plan.check();
        window.snapshot = request.snapshot;
    }
    setRunNote("nothing was saved");

    // The mesh is read before any thread or window exists (other formats are read in a child
    // process).
    ViewSetup setup;
    setup.mesh = readMesh(input);
    for (const std::string& w : setup.mesh.warnings()) std::cerr << "hxnoise: warning: " << w << "\n";
    std::cout << "read " << (recipe.input.empty() ? input + " (the bundled example)" : input) << "\n";
    setup.recipe = recipe;
    setup.inputPath = input;
    setup.pluginPath = plugin;
    setup.nodeName = meshNodeName(setup.mesh.nodeName(), fs::path(input).stem().string());

    SceneWorker worker(std::move(setup));
    const ViewScene& scene = worker.waitUntilBuilt();
    for (const std::string& line : scene.report) {
        if (line.compare(0, 9, "warning: ") == 0)
            std::cerr << "hxnoise: " << line << "\n";
        else
            std::cout << line << "\n";
    }
    std::cout.flush();
    window.title = "hxnoise view: " + (recipe.input.empty() ? std::string("blob (the bundled example)") : input);
    runViewWindow(worker, scene, window);
    return 0;
}

} // namespace hx
