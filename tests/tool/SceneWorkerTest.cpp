// The view window's scene on its own thread, driven as the window drives it, without a window:
// built from a recipe, asked for pictures, edited, played through keys, saved.
#include <gtest/gtest.h> // before any header that pulls in X11's macros

#include "MeshFiles.h"
#include "OutputPlan.h"
#include "Recipe.h"
#include "RecipeToml.h"
#include "SceneWorker.h"
#include "ToolError.h"
#include "ValueParse.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

namespace fs = std::filesystem;
using hx::SceneFrame;
using hx::SceneRequest;
using hx::SceneWorker;

namespace {

// A quad grid of n x n cells in the XZ plane, as an OBJ mesh would be read.
hx::Mesh gridMesh(int n)
{
    hx::Mesh::Parts parts;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            parts.positions.insert(parts.positions.end(), {-1.0 + 2.0 * i / n, 0.0, -1.0 + 2.0 * j / n});
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int v = j * (n + 1) + i;
            parts.faceSizes.push_back(4);
            parts.faceVertices.insert(parts.faceVertices.end(), {v, v + n + 1, v + n + 2, v + 1});
        }
    return hx::Mesh::fromParts(std::move(parts));
}

hx::ViewSetup setupOf(const std::vector<std::string>& settings, const std::vector<std::string>& keys = {},
                      const std::string& frames = "", int cells = 8)
{
    hx::RecipeArguments arguments;
    arguments.settings = settings;
    arguments.keys = keys;
    if (!frames.empty()) arguments.frames = frames;
    hx::ViewSetup setup;
    setup.recipe = hx::makeRecipe(arguments);
    setup.inputPath = (fs::temp_directory_path() / "hx_worker_grid.obj").string();
    setup.pluginPath = HX_PLUGIN;
    setup.mesh = gridMesh(cells);
    setup.nodeName = "grid";
    return setup;
}

// Waits (as a window's frames do) for the picture answering request `id`.
SceneFrame frameFor(SceneWorker& worker, std::uint64_t id)
{
    for (int i = 0; i < 6000; ++i) {
        if (std::optional<SceneFrame> frame = worker.takeFrame(); frame && frame->request == id) return *frame;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << "no picture for request " << id;
    return {};
}

hx::SaveResult saveResult(SceneWorker& worker)
{
    for (int i = 0; i < 6000; ++i) {
        if (std::optional<hx::SaveResult> result = worker.takeSaveResult()) return *result;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << "no save result";
    return {};
}

SceneRequest small(std::uint64_t id)
{
    SceneRequest request;
    request.id = id;
    request.width = 96;
    request.height = 72;
    return request;
}

} // namespace

TEST(SceneWorker, BuildsTheSceneAndDrawsWhatTheWindowAsksFor)
{
    SceneWorker worker(setupOf({"hxNoise1.oyNoiseAmp=0.25", "hxNoise1.xno=11"}));
    const hx::ViewScene& scene = worker.waitUntilBuilt();
    EXPECT_EQ(scene.nodes.deformer, "hxNoise1");
    ASSERT_EQ(scene.panel.size(), 3u);
    EXPECT_FALSE(scene.frames);
    // It says what it made and set, as deform does; a clamped value is a warning.
    EXPECT_NE(std::find(scene.report.begin(), scene.report.end(), "created grid (transform)"), scene.report.end());
    EXPECT_NE(std::find(scene.report.begin(), scene.report.end(), "set hxNoise1.oyNoiseAmp = 0.25"),
              scene.report.end());
    EXPECT_NE(std::find(scene.report.begin(), scene.report.end(), "set hxNoise1.xno = 10"), scene.report.end());

    worker.request(small(1));
    const SceneFrame frame = frameFor(worker, 1);
    EXPECT_EQ(frame.width, 96);
    EXPECT_EQ(frame.height, 72);
    EXPECT_EQ(frame.rgba.size(), 96u * 72u * 4u);
    EXPECT_TRUE(frame.problem.empty()) << frame.problem;
    EXPECT_EQ(frame.values.at("hxNoise1.oyNoiseAmp"), std::vector<double>{0.25});
    EXPECT_EQ(frame.values.at("hxNoise1.oxNoiseOctaves"), std::vector<double>{10});
    EXPECT_EQ(frame.values.at("noiseLocator1.oxCrvPtsCountIn"), std::vector<double>{30});
    EXPECT_FALSE(frame.framingPoints.empty());
    // Without a camera of its own, the window gets the scene framed as --render frames it.
    EXPECT_EQ(frame.camera.viewMatrix(),
              hx::Camera::framing(hx::View::Persp, frame.framingPoints, 96, 72, frame.insets).viewMatrix());
}

TEST(SceneWorker, AnEditIsEvaluatedAndDrawnAndSaysWhatTheHostSaid)
{
    SceneWorker worker(setupOf({}));
    worker.waitUntilBuilt();
    SceneRequest request = small(1);
    request.hud = false;
    worker.request(request);
    const SceneFrame before = frameFor(worker, 1);

    const hx::PanelField amplitude{"hxNoise1.oyNoiseAmp", "", hx::PanelField::Kind::Float, {}, {}, 0.0, false};
    worker.edit(hx::editOf(amplitude, 0.8));
    worker.edit(hx::PanelEdit{"hxNoise1.oxNoiseOctaves", 40.0, "hxNoise1.oxNoiseOctaves=40"});
    worker.edit(hx::PanelEdit{"hxNoise1.envelope", 0.5, "hxNoise1.envelope=0.5"});
    request.id = 2;
    request.camera = before.camera; // the same view, so only the mesh can change the picture
    worker.request(request);
    const SceneFrame after = frameFor(worker, 2);
    EXPECT_EQ(after.values.at("hxNoise1.oyNoiseAmp"), std::vector<double>{double(0.8f)});
    EXPECT_EQ(after.values.at("hxNoise1.oxNoiseOctaves"), std::vector<double>{10});
    EXPECT_NE(after.rgba, before.rgba);
    // The host clamped one value and the deformer ignores the envelope: both said, once.
    const std::vector<std::string> messages = worker.takeMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("oxNoiseOctaves"), std::string::npos);
    EXPECT_NE(messages[1].find("envelope"), std::string::npos);
    EXPECT_TRUE(worker.takeMessages().empty());
}

TEST(SceneWorker, AMistakeInTheRecipeIsTheBuildsFailure)
{
    SceneWorker misnamed(setupOf({"hxNoise1.oyNoiseAmq=1"}));
    EXPECT_THROW(misnamed.waitUntilBuilt(), hx::UsageError);
    SceneWorker keyedAndSet(setupOf({"hxNoise1.yna=1"}, {"hxNoise1.oyNoiseAmp@1=0"}, "1-3"));
    try {
        keyedAndSet.waitUntilBuilt();
        ADD_FAILURE() << "a --set of a keyed number was taken";
    } catch (const hx::UsageError& error) {
        EXPECT_NE(std::string(error.what()).find("is keyed"), std::string::npos) << error.what();
    }
    hx::ViewSetup noPlugin = setupOf({});
    noPlugin.pluginPath = "/nonexistent/hxNoise.so";
    SceneWorker without(std::move(noPlugin));
    EXPECT_THROW(without.waitUntilBuilt(), hx::ToolError);
}

TEST(SceneWorker, TheTimelinesFrameTakesTheKeyedValues)
{
    SceneWorker worker(setupOf({}, {"transform1.translate@1=0,0,0", "transform1.translate@11=0,2,0"}, "1-11"));
    const hx::ViewScene& scene = worker.waitUntilBuilt();
    ASSERT_TRUE(scene.frames);
    EXPECT_EQ(scene.frames->count(), 11);
    for (const auto& [id, frame, y] :
         std::vector<std::tuple<int, double, double>>{{1, 1, 0.0}, {2, 6, 1.0}, {3, 11, 2.0}}) {
        SceneRequest request = small(id);
        request.frame = frame;
        worker.request(request);
        const SceneFrame shown = frameFor(worker, id);
        EXPECT_EQ(shown.frame, frame);
        EXPECT_DOUBLE_EQ(shown.values.at("transform1.translateY").at(0), y) << "frame " << frame;
    }
}

TEST(SceneWorker, RequestsFasterThanTheSceneFollowsAreMergedNewestWins)
{
    // A heavier mesh: the window asks for thirty frames while the first is evaluated.
    SceneWorker worker(
        setupOf({"hxNoise1.oyNoiseAmp=0.3"}, {"hxNoise1.oyNoiseFreq@1=1", "hxNoise1.oyNoiseFreq@30=3"}, "1-30", 150));
    worker.waitUntilBuilt();
    for (int i = 1; i <= 30; ++i) {
        SceneRequest request = small(i);
        request.frame = i;
        worker.request(request); // returns at once, whatever the worker is doing
    }
    int pictures = 0;
    std::optional<SceneFrame> last;
    for (int i = 0; i < 6000 && !(last && last->request == 30); ++i) {
        if (std::optional<SceneFrame> frame = worker.takeFrame()) {
            ++pictures;
            last = std::move(frame);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ASSERT_TRUE(last);
    EXPECT_EQ(last->request, 30u);
    EXPECT_EQ(last->frame, 30.0);
    EXPECT_LT(pictures, 30);
    EXPECT_FALSE(worker.busy());
}

TEST(SceneWorker, SaveWritesTheMeshThePictureAndARecipeThatMakesThemAgain)
{
    const fs::path dir = fs::temp_directory_path() / ("hx_worker_save_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    SceneWorker worker(setupOf({"hxNoise1.oyNoiseAmp=0.25"}));
    worker.waitUntilBuilt();
    worker.edit(hx::PanelEdit{"hxNoise1.oxNoiseAmp", 0.5, "hxNoise1.oxNoiseAmp=0.5"});
    worker.edit(hx::PanelEdit{"hxNoise1.oxNoiseAmp", 0.75, "hxNoise1.oxNoiseAmp=0.75"});
    SceneRequest request = small(1);
    request.view = hx::View::Front;
    request.shading = hx::Shading::Smooth;
    worker.request(request);
    frameFor(worker, 1);

    const hx::SaveRequest names{(dir / "grid.obj").string(), (dir / "grid.png").string(), (dir / "grid.toml").string()};
    worker.save(names);
    const hx::SaveResult saved = saveResult(worker);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(saved.written, (std::vector<std::string>{names.mesh, names.picture, names.recipe}));
    EXPECT_EQ(saved.message.rfind("saved ", 0), 0u);

    // The recipe: the run's settings, then each edited plug once at its last value, the
    // picture as the window showed it.
    const hx::Recipe recipe = hx::makeRecipe(hx::readRecipeFile(names.recipe));
    ASSERT_EQ(recipe.settings.size(), 2u);
    EXPECT_EQ(recipe.settings[1].node + "." + recipe.settings[1].attribute, "hxNoise1.oxNoiseAmp");
    EXPECT_EQ(recipe.settings[1].numbers, std::vector<double>{0.75});
    EXPECT_EQ(recipe.output, names.mesh);
    EXPECT_EQ(recipe.render, names.picture);
    EXPECT_EQ(recipe.view, "front");
    EXPECT_EQ(recipe.width, 96);
    EXPECT_EQ(recipe.shading, "smooth");

    // The mesh holds the points the picture shows.
    const hx::Mesh mesh = hx::readMesh(names.mesh);
    EXPECT_EQ(mesh.vertexCount(), 81u);
    EXPECT_NE(mesh.positions(), gridMesh(8).positions());
    EXPECT_TRUE(fs::file_size(names.picture) > 100);
    fs::remove_all(dir);
}

TEST(SceneWorker, SaveRefusesToWriteOverItsInputsAndSaysWhy)
{
    const fs::path dir = fs::temp_directory_path() / ("hx_worker_refuse_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    hx::ViewSetup setup = setupOf({});
    setup.inputPath = (dir / "grid.obj").string();
    std::ofstream(setup.inputPath) << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    SceneWorker worker(std::move(setup));
    worker.waitUntilBuilt();
    worker.request(small(1));
    frameFor(worker, 1);

    worker.save({(dir / "./grid.obj").string(), (dir / "out.png").string(), (dir / "out.toml").string()});
    hx::SaveResult refused = saveResult(worker);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("is the input mesh"), std::string::npos) << refused.message;
    EXPECT_FALSE(fs::exists(dir / "out.png")); // all or nothing
    EXPECT_FALSE(fs::exists(dir / "out.toml"));

    worker.save({(dir / "out.3ds").string(), "", ""});
    refused = saveResult(worker);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("3ds"), std::string::npos) << refused.message;
    worker.save({"", "", ""});
    EXPECT_FALSE(saveResult(worker).ok);
    fs::remove_all(dir);
}
