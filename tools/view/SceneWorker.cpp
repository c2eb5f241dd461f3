#include "SceneWorker.h"

#include "Animation.h"
#include "AttributeEdit.h"
#include "ByteSink.h"
#include "FrameFiles.h"
#include "HostSession.h"
#include "Hud.h"
#include "Interruption.h"
#include "KeyedNumbers.h"
#include "MaterialLibraries.h"
#include "MeshFiles.h"
#include "OutputName.h"
#include "OutputPlan.h"
#include "RecipeToml.h"
#include "SceneView.h"
#include "ToolError.h"
#include "ValueParse.h"
#include "Viewport.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>

namespace hx {

// What the worker's thread keeps of the scene.
struct SceneWorker::Scene
{
    ViewSetup setup;
    std::optional<HostSession> session;
    Animation animation;
    std::vector<double> points; // the deformed points, object space
    std::vector<std::string> panelPlugs;
    std::vector<std::string> setPlugs; // for the display: --set plugs, then edited ones
    std::vector<std::string> keyedPlugs;
    std::vector<std::string> edits;    // "plug=value" of the panel, each plug once, in order
    std::set<std::string> warnedPlugs; // plugs that change nothing, warned about once
    std::unique_ptr<Viewport> viewport;
    std::optional<double> evaluatedFrame; // the frame the points are of
    std::string problem;                  // why the latest evaluation failed
    FramingPoints framing{View::Persp, 1, 1};
    View framingView = View::Persp;
    int framingWidth = 0, framingHeight = 0;
    std::uint64_t serial = 0;
};

namespace {

void addLine(std::vector<std::string>& lines, const std::string& line)
{
    lines.push_back(line);
}

std::vector<int> toInts(const std::vector<std::uint32_t>& sizes)
{
    return std::vector<int>(sizes.begin(), sizes.end());
}

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) throw FileWriteError("cannot write " + path + ": " + std::strerror(errno));
}

} // namespace

SceneWorker::SceneWorker(ViewSetup setup) : mScene(std::make_unique<Scene>())
{
    mScene->setup = std::move(setup);
    mThread = std::thread([this] { run(); });
}

SceneWorker::~SceneWorker()
{
    onReady(nullptr);
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStop = true;
    }
    mChanged.notify_all();
    if (mThread.joinable()) mThread.join();
}

const ViewScene& SceneWorker::waitUntilBuilt()
{
    std::unique_lock<std::mutex> lock(mMutex);
    mChanged.wait(lock, [this] { return mBuilt || mBuildFailure; });
    if (mBuildFailure) std::rethrow_exception(mBuildFailure);
    return mView;
}

void SceneWorker::request(const SceneRequest& request)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mRequest = request;
    }
    mChanged.notify_all();
}

void SceneWorker::edit(const PanelEdit& edit)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mEdits.push_back(edit);
    }
    mChanged.notify_all();
}

void SceneWorker::save(const SaveRequest& save)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mSaves.push_back(save);
    }
    mChanged.notify_all();
}

std::optional<SceneFrame> SceneWorker::takeFrame()
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::optional<SceneFrame> frame;
    frame.swap(mFrame);
    return frame;
}

std::optional<SaveResult> SceneWorker::takeSaveResult()
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::optional<SaveResult> result;
    result.swap(mSaveResult);
    return result;
}

std::vector<std::string> SceneWorker::takeMessages()
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::vector<std::string> messages;
    messages.swap(mMessages);
    return messages;
}

bool SceneWorker::busy() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mWorking || mRequest || !mEdits.empty() || !mSaves.empty();
}

void SceneWorker::onReady(std::function<void()> wake)
{
    // Once this returns, the old function is neither running nor called again.
    std::lock_guard<std::mutex> lock(mWakeMutex);
    mWake = std::move(wake);
}

void SceneWorker::ready()
{
    mChanged.notify_all();
    std::lock_guard<std::mutex> lock(mWakeMutex);
    if (mWake) mWake();
}

void SceneWorker::run()
{
    try {
        build();
    } catch (...) {
        // The host is emptied before the failure is told: whoever waits on it may go on to
        // build another scene on the same host at once.
        const std::exception_ptr failure = std::current_exception();
        mScene->viewport.reset();
        mScene->session.reset();
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mBuildFailure = failure;
        }
        ready();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mBuilt = true;
    }
    ready();
    serve();
    // The host is emptied on the thread that used it.
    mScene->viewport.reset();
    mScene->session.reset();
}

void SceneWorker::build()
{
    Scene& s = *mScene;
    Host& host = Host::instance();
    s.session.emplace(host);
    const Recipe& recipe = s.setup.recipe;
    if (const Result loaded = host.loadPlugin(s.setup.pluginPath); !loaded) throw ToolError(loaded.error);

    const Mesh& mesh = s.setup.mesh;
    mView.nodes =
        buildDeformScene(host, s.setup.nodeName, mesh.positions(), toInts(mesh.faceSizes()), mesh.faceVertexIndices());
    for (const std::string& node : mView.nodes.nodes) {
        std::string line = "created " + node + " (" + host.typeOf(node);
        if (!host.parentOf(node).empty()) line += ", under " + host.parentOf(node);
        addLine(mView.report, line + ")");
    }

    // As deform does: every name and value checked before the first is set.
    std::vector<NamedPlug> plugs;
    std::vector<std::vector<double>> values;
    for (const AttributeSetting& setting : recipe.settings) {
        plugs.push_back(findPlug(host, setting.node, setting.attribute));
        values.push_back(settingValues(plugs.back(), setting));
    }
    s.animation = Animation(recipe.keys, recipe.tangents, [&host](const Key& key) { return keyedNumbers(host, key); });
    for (std::size_t i = 0; i < plugs.size(); ++i)
        s.animation.checkNotKeyed("--set " + plugs[i].name, numberPlugs(plugs[i]));
    for (std::size_t i = 0; i < plugs.size(); ++i) {
        const Result set = host.setAttr(plugs[i].name, values[i]);
        if (!set) throw UsageError("--set " + plugs[i].name + ": " + set.error);
        for (const std::string& w : set.warnings) addLine(mView.report, "warning: " + w);
        const std::string ignored = ignoredPlugWarning(plugs[i]);
        if (!ignored.empty() && s.warnedPlugs.insert(plugs[i].name).second)
            addLine(mView.report, "warning: " + ignored);
        addLine(mView.report, "set " + plugs[i].name + " = " + storedValueText(host, plugs[i], recipe.settings[i]));
        s.setPlugs.push_back(longPlugName(plugs[i]));
    }
    std::set<std::string> keyed;
    for (const Animation::Channel& channel : s.animation.channels()) {
        keyed.insert(channel.plug);
        s.keyedPlugs.push_back(channel.plug);
    }

    mView.panel = buildPanel(host, {mView.nodes.deformer, mView.nodes.locatorTransform, mView.nodes.locator}, keyed);
    s.panelPlugs = panelPlugs(mView.panel);
    mView.frames = recipe.frames;
    evaluate(recipe.frames ? recipe.frames->first : 0.0);
}

void SceneWorker::evaluate(double frame)
{
    Scene& s = *mScene;
    Host& host = Host::instance();
    s.problem.clear();
    const std::vector<double> keyedValues = s.animation.valuesAt(frame);
    for (std::size_t c = 0; c < keyedValues.size(); ++c) {
        const Result set = host.setAttr(s.animation.channels()[c].plug, keyedValues[c]);
        if (!set) s.problem = "--key " + s.animation.channels()[c].plug + ": " + set.error;
    }
    const Result evaluated = host.meshPoints(mView.nodes.meshShape, s.points);
    if (!evaluated)
        s.problem = "cannot evaluate " + mView.nodes.meshShape + ": " + evaluated.error;
    else if (s.points.size() != s.setup.mesh.positions().size())
        s.problem = mView.nodes.deformer + " gave " + std::to_string(s.points.size() / 3) + " points for a mesh of " +
                    std::to_string(s.setup.mesh.vertexCount()) + " vertices";
    else
        for (double v : s.points)
            if (!std::isfinite(v)) {
                s.problem = "the deformation gave points that are not finite numbers";
                break;
            }
    s.evaluatedFrame = frame;
    s.framingWidth = 0; // what the scene shows has changed: gather its framing points again
}

SceneFrame SceneWorker::draw(const SceneRequest& request, bool antialias)
{
    Scene& s = *mScene;
    Host& host = Host::instance();
    SceneFrame frame;
    frame.serial = ++s.serial;
    frame.request = request.id;
    frame.width = request.width;
    frame.height = request.height;
    frame.frame = s.evaluatedFrame.value_or(request.frame);
    frame.problem = s.problem;

    const std::vector<std::uint32_t>& sizes = s.setup.mesh.faceSizes();
    const SceneMesh mesh{&s.points, &sizes, &s.setup.mesh.faceVertexIndices()};
    PictureStyle style;
    style.hud = request.hud;
    style.shading = request.shading;
    style.antialias = antialias;
    style.maxSamples = 2; // a window redraws often: smooth enough, and quick
    if (mView.frames) style.frame = int(std::lround(frame.frame));
    style.setPlugs = s.setPlugs;
    style.keyedPlugs = s.keyedPlugs;

    try {
        if (s.framingWidth != request.width || s.framingHeight != request.height || s.framingView != request.view) {
            s.framing = FramingPoints(request.view, request.width, request.height);
            includeScene(host, worldPoints(host, mView.nodes, s.points), s.framing);
            s.framingView = request.view;
            s.framingWidth = request.width;
            s.framingHeight = request.height;
        }
        frame.framingPoints = s.framing.points();
        frame.bounds = s.framing.bounds();
        frame.insets = hudInsets(host, style, request.width, request.height);
        Framing framing = frameScene(request.view, s.framing, request.width, request.height, frame.insets);
        if (request.camera) {
            framing.camera = *request.camera;
            framing.grid = gridFor(request.camera->view(), framing.bounds);
        }
        frame.camera = framing.camera;
        if (!s.viewport || s.viewport->width() != request.width || s.viewport->height() != request.height)
            s.viewport = std::make_unique<Viewport>(request.width, request.height);
        for (const std::string& w : drawScene(*s.viewport, host, mView.nodes, mesh, framing, style)) {
            std::lock_guard<std::mutex> lock(mMutex);
            mMessages.push_back(w);
        }
        frame.rgba = s.viewport->pixelsTopDown();
    } catch (const std::exception& error) {
        if (frame.problem.empty()) frame.problem = error.what();
        // What was drawn before the failure, if the viewport can still give it: one that Mesa
        // gave up on refuses, and is let go so that the next picture makes a new one.
        try {
            if (s.viewport) frame.rgba = s.viewport->pixelsTopDown();
        } catch (const std::exception&) {
            s.viewport.reset();
        }
    }
    if (frame.rgba.size() != std::size_t(frame.width) * frame.height * 4)
        frame.rgba.assign(std::size_t(frame.width) * frame.height * 4, 0);

    for (const std::string& plug : s.panelPlugs) {
        std::vector<double> values;
        if (host.getAttr(plug, values)) frame.values[plug] = values;
    }
    return frame;
}

void SceneWorker::serve()
{
    Scene& s = *mScene;
    Host& host = Host::instance();
    SceneRequest shown; // what the window asked for last
    bool drawn = false;
    for (;;) {
        std::optional<SceneRequest> request;
        std::vector<PanelEdit> edits;
        std::vector<SaveRequest> saves;
        {
            std::unique_lock<std::mutex> lock(mMutex);
            mChanged.wait(lock, [&] { return mStop || mRequest || !mEdits.empty() || !mSaves.empty(); });
            if (mStop) return;
            request.swap(mRequest);
            edits.swap(mEdits);
            saves.swap(mSaves);
            mWorking = true;
        }
        if (request) shown = *request;

        std::vector<std::string> messages;
        for (const PanelEdit& edit : edits) {
            const Result set = host.setAttr(edit.plug, edit.value);
            if (!set) {
                messages.push_back(edit.setting + ": " + set.error);
                continue;
            }
            for (const std::string& w : set.warnings) messages.push_back(w);
            const std::size_t dot = edit.plug.find('.');
            try {
                const std::string ignored =
                    ignoredPlugWarning(findPlug(host, edit.plug.substr(0, dot), edit.plug.substr(dot + 1)));
                if (!ignored.empty() && s.warnedPlugs.insert(edit.plug).second) messages.push_back(ignored);
            } catch (const UsageError&) {
            }
            // Each plug once in the recipe, at its latest value, after the run's own settings.
            const std::string prefix = edit.plug + "=";
            s.edits.erase(
                std::remove_if(s.edits.begin(), s.edits.end(),
                               [&](const std::string& e) { return e.compare(0, prefix.size(), prefix) == 0; }),
                s.edits.end());
            s.edits.push_back(edit.setting);
            if (std::find(s.setPlugs.begin(), s.setPlugs.end(), edit.plug) == s.setPlugs.end())
                s.setPlugs.push_back(edit.plug);
        }
        const double frame = mView.frames ? shown.frame : 0.0;
        if (!edits.empty() || !s.evaluatedFrame || *s.evaluatedFrame != frame) evaluate(frame);

        // A picture drawn while the camera moves is drawn fast; the window asks again, with
        // interacting off, when it stops.
        std::optional<SceneFrame> picture;
        if (request || !edits.empty() || !drawn) {
            picture = draw(shown, !shown.interacting);
            drawn = true;
        }
        std::optional<SaveResult> saved;
        for (const SaveRequest& save : saves) saved = write(save, shown);
        {
            std::lock_guard<std::mutex> lock(mMutex);
            for (std::string& m : messages) mMessages.push_back(std::move(m));
            if (picture) mFrame = std::move(picture);
            if (saved) mSaveResult = std::move(saved);
            mWorking = false;
        }
        ready();
    }
}

Recipe SceneWorker::savedRecipe(const SaveRequest& save, const SceneRequest& view) const
{
    const Scene& s = *mScene;
    Recipe recipe = s.setup.recipe;
    recipe.output = save.mesh;
    recipe.render = save.picture;
    recipe.view = viewName(view.camera ? view.camera->view() : view.view);
    recipe.width = view.width;
    recipe.height = view.height;
    recipe.hud = view.hud;
    recipe.shading = shadingName(view.shading);
    for (const std::string& edit : s.edits) recipe.settings.push_back(parseSetting(edit));
    return recipe;
}

SaveResult SceneWorker::write(const SaveRequest& save, const SceneRequest& view)
{
    Scene& s = *mScene;
    SaveResult result;
    try {
        if (save.mesh.empty() && save.picture.empty() && save.recipe.empty()) throw UsageError("name a file to save");
        const Recipe recipe = savedRecipe(save, view);
        const std::optional<FrameRange>& range = recipe.frames;
        const int frame = int(std::lround(s.evaluatedFrame.value_or(0.0)));
        const auto named = [&](const std::string& path, const char* option) {
            return path.empty() || !range ? path : framePath(path, frame, *range, option);
        };
        const std::string meshPath = named(save.mesh, "-o"), picturePath = named(save.picture, "--render");
        if (!meshPath.empty()) meshFormatForWriting(meshPath);
        if (!picturePath.empty()) checkPictureName(picturePath);
        if (!s.problem.empty()) throw ToolError("nothing saved: " + s.problem);

        OutputPlan plan;
        plan.addInput(s.setup.inputPath, "the input mesh " + s.setup.inputPath);
        plan.addInput(s.setup.pluginPath, "the plug-in " + s.setup.pluginPath);
        if (!meshPath.empty()) plan.addOutput(meshPath, "the mesh " + meshPath);
        if (!picturePath.empty()) plan.addOutput(picturePath, "the picture " + picturePath);
        if (!save.recipe.empty()) plan.addOutput(save.recipe, "the recipe " + save.recipe);
        plan.check();

        FrameFiles files;
        std::vector<std::string> notes;
        if (!meshPath.empty()) {
            Mesh out = s.setup.mesh;
            out.positions() = s.points;
            const MeshFormat format = meshFormatForWriting(meshPath);
            if (format == MeshFormat::Obj) {
                const MaterialLibraryReport report = rebaseMaterialLibraries(out, s.setup.inputPath, meshPath);
                notes.insert(notes.end(), report.warnings.begin(), report.warnings.end());
            }
            files.write(meshPath, [&](const std::string& temporary) {
                std::FILE* file = std::fopen(temporary.c_str(), "wb");
                if (!file) throw FileWriteError("cannot write " + meshPath + ": " + std::strerror(errno));
                try {
                    FileSink sink(file, meshPath);
                    for (const std::string& w : writeMesh(out, format, sink, meshPath)) notes.push_back(w);
                } catch (...) {
                    std::fclose(file);
                    throw;
                }
                if (std::fclose(file) != 0)
                    throw FileWriteError("cannot write " + meshPath + ": " + std::strerror(errno));
            });
        }
        if (!picturePath.empty()) {
            // The picture as the window shows it, drawn smooth.
            const SceneFrame shown = draw(view, true);
            if (!shown.problem.empty()) throw ToolError("nothing saved: " + shown.problem);
            files.write(picturePath, [&](const std::string& temporary) { s.viewport->savePng(temporary); });
        }
        if (!save.recipe.empty()) {
            const std::string text = recipeToml(recipe);
            files.write(save.recipe, [&](const std::string& temporary) { writeText(temporary, text); });
        }
        files.commit();
        for (const std::string& path : {meshPath, picturePath, save.recipe})
            if (!path.empty()) result.written.push_back(path);
        result.ok = true;
        result.message = "saved";
        for (std::size_t i = 0; i < result.written.size(); ++i) result.message += (i ? ", " : " ") + result.written[i];
        for (const std::string& note : notes) result.message += "; " + note;
        // What an interruption says was done.
        setRunNote(result.message.substr(0, result.message.find(';')) + " before");
    } catch (const std::exception& error) {
        result.ok = false;
        result.message = error.what();
    }
    return result;
}

} // namespace hx
