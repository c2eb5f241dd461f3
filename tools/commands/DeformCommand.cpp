#include "DeformCommand.h"

#include "Animation.h"
#include "AttributeEdit.h"
#include "ByteSink.h"
#include "CommandLine.h"
#include "DeformScene.h"
#include "FrameFiles.h"
#include "HostSession.h"
#include "Interruption.h"
#include "MaterialLibraries.h"
#include "MeshFiles.h"
#include "OutputName.h"
#include "OutputPlan.h"
#include "PhaseTimes.h"
#include "PluginFile.h"
#include "PointCache.h"
#include "Progress.h"
#include "RecipeToml.h"
#include "SceneFraming.h"
#include "SceneView.h"
#include "Shading.h"
#include "StandardStreams.h"
#include "TemporaryFiles.h"
#include "ToolError.h"
#include "ValueParse.h"
#include "Viewport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace hx {
namespace {

void warn(const std::string& message)
{
    std::cerr << "hxnoise: warning: " << message << "\n";
}

// A warning said once however many frames give it.
class OnceWarnings
{
public:
    void operator()(const std::string& message)
    {
        if (mSaid.insert(message).second) warn(message);
    }

private:
    std::set<std::string> mSaid;
};

// The frames a run evaluates: the recipe's range, or the one evaluation of a run without
// --frames (counted as frame 1, where a point cache starts).
struct Frames
{
    std::optional<FrameRange> range;
    std::vector<int> numbers;

    explicit Frames(const Recipe& recipe) : range(recipe.frames)
    {
        numbers = range ? range->frames() : std::vector<int>{1};
    }
    int count() const { return static_cast<int>(numbers.size()); }
    bool sequence() const { return range.has_value(); }
};

// Every name a run writes. -o and --render name a file a frame, except that with a cache, an
// -o without # is one file: the cache's rest shape, the mesh as read, written with the cache.
struct RunNames
{
    const Recipe& recipe;
    const Frames& frames;

    bool meshPerFrame() const
    {
        return !recipe.output.empty() && (recipe.cache.empty() || hasFrameNumber(recipe.output));
    }
    bool restShape() const { return !recipe.output.empty() && !meshPerFrame(); }
    std::string mesh(int frame) const { return frameName(recipe.output, frame, "-o"); }
    std::string image(int frame) const { return frameName(recipe.render, frame, "--render"); }

    // How the user knows an output: "-o out.obj", "-o anim.obj (frame 2: anim_0002.obj)".
    std::string label(const char* option, const std::string& named, int frame) const
    {
        std::string text = std::string(option) + " " + named;
        if (frames.sequence())
            text += " (frame " + std::to_string(frame) + ": " + frameName(named, frame, option) + ")";
        return text;
    }

private:
    std::string frameName(const std::string& named, int frame, const char* option) const
    {
        return frames.sequence() ? framePath(named, frame, *frames.range, option) : named;
    }
};

// Standard input or output sent to a regular file is a file of the run too.
void addStandardStreams(OutputPlan& plan, bool meshFromStdin)
{
    std::vector<std::pair<int, const char*>> streams = {{1, "standard output"}, {2, "standard error"}};
    if (meshFromStdin) streams.insert(streams.begin(), {0, "standard input"});
    for (const auto& [fd, name] : streams) {
        struct stat info;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            plan.addInput("/proc/self/fd/" + std::to_string(fd), name);
    }
}

// Every file the run reads and writes, each frame's names included, checked against each
// other before any work: throws OutputClash (exit 2) or FileWriteError (exit 1).
void checkRunFiles(const RunNames& names, const DeformRequest& request, const std::string& input,
                   const std::string& plugin)
{
    const Recipe& recipe = names.recipe;
    OutputPlan plan;
    if (input != "-") plan.addInput(input, "the input mesh " + input);
    plan.addInput(plugin, "the plug-in " + plugin);
    if (request.config) plan.addInput(*request.config, "the recipe " + *request.config);
    addStandardStreams(plan, input == "-");
    for (int frame : names.frames.numbers) {
        if (names.meshPerFrame() && recipe.output != "-")
            plan.addOutput(names.mesh(frame), names.label("-o", recipe.output, frame));
        if (!recipe.render.empty()) plan.addOutput(names.image(frame), names.label("--render", recipe.render, frame));
    }
    if (!recipe.cache.empty()) plan.addOutput(recipe.cache, "--cache " + recipe.cache);
    if (names.restShape() && recipe.output != "-")
        plan.addOutput(recipe.output, "-o " + recipe.output + " (the cache's rest shape)");
    if (!request.saveConfig.empty()) plan.addOutput(request.saveConfig, "--save-config " + request.saveConfig);
    plan.check();
}

// What an interruption or a crash says was done, after `done` frames: "frames 1..3 of 24
// were written (out_0001.obj .. out_0003.obj)".
std::string progressNote(const RunNames& names, int done)
{
    const Recipe& recipe = names.recipe;
    const Frames& frames = names.frames;
    const bool frameFiles = names.meshPerFrame() || !recipe.render.empty();
    const std::string cache = recipe.cache.empty() ? ""
                                                   : "; the cache " + recipe.cache +
                                                         " is written only with the "
                                                         "last frame";
    if (!frames.sequence()) return done ? "the outputs were written" : "nothing was written";
    if (done == 0) return (frameFiles ? "no frame was written" : "no frame was evaluated") + cache;
    const FrameRange& range = *frames.range;
    const int first = frames.numbers.front(), last = frames.numbers[done - 1];
    std::string note = "frames " + std::to_string(first) + ".." + std::to_string(last) + " of " +
                       (range.first == 1 && range.step == 1 ? std::to_string(range.last) : range.text()) +
                       (range.step == 1 ? "" : " (step " + std::to_string(range.step) + ")") +
                       (frameFiles ? " were written" : " were evaluated");
    if (frameFiles) {
        const std::string& named = names.meshPerFrame() ? recipe.output : recipe.render;
        const char* option = names.meshPerFrame() ? "-o" : "--render";
        note += " (" + framePath(named, first, range, option) + " .. " + framePath(named, last, range, option) + ")";
    }
    return note + cache;
}

// A deformation that sent points to infinity or NaN (coordinates near the limit of a
// double pushed past it by the locator's placement, say) must not reach a file that no
// reader could load.
void checkFinite(const std::vector<double>& points, const std::string& deformer)
{
    std::size_t bad = 0, first = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!std::isfinite(points[i]) && bad++ == 0) first = i / 3;
    if (bad)
        throw ToolError("the deformation gave points that are not finite numbers (the first is vertex " +
                        std::to_string(first + 1) + "): the mesh, the locator's placement or " + deformer +
                        "'s amplitudes go beyond the range of double precision");
}

// How the run's pictures are drawn, and the values their display lists: each plug set or
// keyed, by its long name.
PictureStyle pictureStyle(const Recipe& recipe, const std::vector<NamedPlug>& settings,
                          const std::vector<NamedPlug>& keys)
{
    PictureStyle style;
    parseShading(recipe.shading, style.shading);
    style.hud = recipe.hud;
    for (const NamedPlug& plug : settings) style.setPlugs.push_back(longPlugName(plug));
    for (const NamedPlug& plug : keys) style.keyedPlugs.push_back(longPlugName(plug));
    return style;
}

// The frames a sequence's one camera is framed on: every frame from its first key to its last,
// or its first frame when nothing is keyed. Frames outside the keys hold the end keys' values
// and show nothing new, so a chunk of a shot run alone (the same keys, fewer frames) frames on
// what the whole shot shows, and its pictures are the whole run's byte for byte.
std::vector<int> framingFrames(const Recipe& recipe, int firstFrame)
{
    if (recipe.keys.empty()) return {firstFrame};
    int first = recipe.keys.front().frame, last = first;
    for (const Key& key : recipe.keys) {
        first = std::min(first, key.frame);
        last = std::max(last, key.frame);
    }
    std::vector<int> numbers;
    for (int frame = first; frame <= last; ++frame) numbers.push_back(frame);
    return numbers;
}

std::string describeNode(Host& host, const std::string& node, const DeformScene& scene, const Mesh& mesh,
                         std::size_t vertexCount)
{
    std::string text = node + " (" + host.typeOf(node);
    const std::string parent = host.parentOf(node);
    if (!parent.empty()) text += ", under " + parent;
    text += ")";
    if (node == scene.meshShape)
        text += ": " + std::to_string(vertexCount) + " vertices, " + std::to_string(mesh.faceCount()) + " faces";
    else if (node == scene.meshShape + "Orig")
        text += ": the undeformed input";
    return text;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    return text;
}

// Opens a staged temporary for writing; the caller closes it.
int openTemporary(const std::string& temporary)
{
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) throw FileWriteError("cannot write " + temporary + ": " + std::strerror(errno));
    return fd;
}

// A file is on disk before it is renamed over its target: a power cut then leaves the old
// file or the new one, never an empty one.
void syncAndClose(int fd, const std::string& temporary)
{
    struct stat info;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular && ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        throw FileWriteError("cannot write " + temporary + ": " + std::strerror(error));
    }
    if (::close(fd) != 0) throw FileWriteError("cannot write " + temporary + ": " + std::strerror(errno));
}

// The format of a mesh output: by its extension; a device or a FIFO without one (-o /dev/null)
// takes OBJ, as standard output does.
MeshFormat outputFormat(const std::string& path)
{
    struct stat info;
    const std::string name = fs::path(path).filename().string();
    if (path == "-" || (name.find('.') == std::string::npos && ::stat(path.c_str(), &info) == 0 &&
                        (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))))
        return MeshFormat::Obj;
    return meshFormatForWriting(path);
}

// The formats the file names ask for, refused in one line when there is none (exit 2).
void checkFormats(const Recipe& recipe, const std::string& input)
{
    try {
        meshFormatForReading(input);
        if (!recipe.output.empty()) outputFormat(recipe.output);
        if (!recipe.render.empty()) checkPictureName(recipe.render);
        if (!recipe.cache.empty()) pointCacheFormatOf(recipe.cache);
    } catch (const MeshFormatError& error) {
        throw UsageError(error.what());
    }
}

// Writes `mesh` as `format` to `sink`, an OBJ with `comment` at its top; the format's warnings
// go to `warnings`.
void writeMeshTo(ByteSink& sink, const Mesh& mesh, MeshFormat format, const std::vector<std::string>& comment,
                 const std::string& name, OnceWarnings& warnings)
{
    for (const std::string& w : writeMesh(mesh, format, sink, name, comment)) warnings(w);
}

// Stages `mesh` into `files` under `target` (its format from the name); the format's warnings
// name `named`, the output as the user gave it, so that a sequence says each once.
void stageMesh(FrameFiles& files, const std::string& target, const std::string& named, const Mesh& mesh,
               const std::vector<std::string>& comment, OnceWarnings& warnings)
{
    const MeshFormat format = outputFormat(target);
    files.write(target, [&](const std::string& temporary) {
        const int fd = openTemporary(temporary);
        try {
            FdSink sink(fd, temporary);
            writeMeshTo(sink, mesh, format, comment, named, warnings);
        } catch (...) {
            ::close(fd);
            throw;
        }
        syncAndClose(fd, temporary);
    });
}

void stageText(FrameFiles& files, const std::string& target, const std::string& text)
{
    files.write(target, [&](const std::string& temporary) {
        const int fd = openTemporary(temporary);
        try {
            FdSink(fd, temporary).write(text.data(), text.size());
        } catch (...) {
            ::close(fd);
            throw;
        }
        syncAndClose(fd, temporary);
    });
}

// The point cache: every frame's points go to a temporary beside the cache as the frame is
// evaluated; the finished file joins the last frame's files and is put in place with them,
// so an interrupted or failed run leaves no cache, and never a partial one.
class CacheFile
{
public:
    CacheFile(const std::string& path, std::size_t points, const Frames& frames)
        : mPath(path), mTemporary(OutputTarget::resolve(path).temporaryPattern())
    {
        mFd = temporaryFiles::create(mTemporary);
        if (mFd < 0) throw FileWriteError("cannot write " + path + ": " + std::strerror(errno));
        mSink = std::make_unique<FdSink>(mFd, path);
        PointCacheWriter::Timing timing;
        timing.startFrame = frames.numbers.front();
        timing.frameStep = frames.range ? frames.range->step : 1;
        mWriter =
            std::make_unique<PointCacheWriter>(*mSink, pointCacheFormatOf(path), points, frames.count(), path, timing);
    }
    ~CacheFile()
    {
        if (mFd >= 0) ::close(mFd);
        if (!mTemporary.empty()) temporaryFiles::remove(mTemporary);
    }
    CacheFile(const CacheFile&) = delete;
    CacheFile& operator=(const CacheFile&) = delete;

    void writeFrame(const std::vector<double>& points) { mWriter->writeFrame(points); }

    // Hands the finished cache to `files`, to be put in place with the rest of them.
    void stage(FrameFiles& files)
    {
        mWriter->finish();
        files.write(mPath, [&](const std::string& temporary) {
            syncAndClose(mFd, mPath);
            mFd = -1;
            if (!temporaryFiles::rename(mTemporary, temporary))
                throw FileWriteError("cannot write " + mPath + ": " + std::strerror(errno));
            mTemporary.clear();
        });
    }

private:
    std::string mPath;
    std::string mTemporary;
    int mFd = -1;
    std::unique_ptr<FdSink> mSink;
    std::unique_ptr<PointCacheWriter> mWriter;
};

// Sets every keyed number to its value at `frame`; a value clamped by the attribute's limits
// is said once per plug, not once a frame.
void setKeyedValues(Host& host, const Animation& animation, int frame, std::set<std::string>& clamped)
{
    const std::vector<double> values = animation.valuesAt(frame);
    for (std::size_t c = 0; c < values.size(); ++c) {
        const std::string& plug = animation.channels()[c].plug;
        const Result set = host.setAttr(plug, values[c]);
        if (!set) throw UsageError("--key " + plug + ": " + set.error);
        if (!set.warnings.empty() && clamped.insert(plug).second)
            for (const std::string& w : set.warnings) warn(w + " (frame " + std::to_string(frame) + ")");
    }
}

// One frame's evaluation: the keyed numbers at `frame`, then the deformed points into
// `points`, checked. Throws ToolError naming the node and plug when the evaluation fails.
void evaluateFrame(Host& host, const DeformScene& scene, const Animation& animation, int frame, std::size_t vertexCount,
                   std::vector<double>& points, std::set<std::string>& clamped)
{
    setKeyedValues(host, animation, frame, clamped);
    if (const Result evaluated = host.meshPoints(scene.meshShape, points); !evaluated)
        throw ToolError("cannot evaluate " + scene.meshShape + ": " + evaluated.error);
    if (points.size() != 3 * vertexCount)
        throw ToolError(scene.deformer + " gave " + std::to_string(points.size() / 3) + " points for a mesh of " +
                        std::to_string(vertexCount) + " vertices");
    checkFinite(points, scene.deformer);
}

// The scene's keys as one curve per keyed number. A FROM:TO key whose value its attribute
// cannot hold is named by its end, as typed ("--key hxNoise1.xno end '2.5' ...").
Animation buildAnimation(Host& host, const Recipe& recipe)
{
    if (!recipe.frames) return Animation();
    return Animation(recipe.keys, recipe.tangents, [&](const Key& key) {
        const NamedPlug plug = findPlug(host, key.node, key.attribute);
        const bool start = key.frame == recipe.frames->first, end = key.frame == recipe.frames->last;
        const std::string what = "--key " + plug.name + "@" + std::to_string(key.frame);
        try {
            return keyedNumbers(plug, key, what);
        } catch (const UsageError& error) {
            // The FROM:TO form puts its values on the range's ends; say which one was wrong.
            std::string message = error.what();
            if ((start || end) && message.compare(0, what.size(), what) == 0 && message.size() > what.size() &&
                message[what.size()] == ' ')
                message.replace(0, what.size(), "--key " + plug.name + (end && !start ? " end" : " start"));
            throw UsageError(message);
        }
    });
}

// One `hxnoise deform` run, from its recipe to its files, in the order it goes: prepare() (the
// files checked, the plug-in loaded, the mesh read, the scene built and set), then each frame
// (runFrame: evaluate, render, write), then report().
class DeformRun
{
public:
    DeformRun(const DeformRequest& request, const Recipe& recipe, PhaseTimes& times)
        : mRequest(request),
          mRecipe(recipe),
          mTimes(times),
          mFrames(recipe),
          mNames{mRecipe, mFrames},
          mMeshToStdout(recipe.output == "-"),
          mSay(mMeshToStdout ? std::cerr : std::cout),
          mHost(Host::instance()),
          mSession(mHost)
    {
        mHost.setThreadCount(request.threads);
    }

    void prepare()
    {
        mInput = mRecipe.input.empty() ? bundledExampleMesh() : mRecipe.input;
        if (mRecipe.input.empty() && !fs::exists(mInput))
            throw ToolError("the bundled example mesh " + mInput + " is missing; name a mesh file to deform");
        const std::string plugin = locatePlugin(mRecipe.plugin);
        checkRunFiles(mNames, mRequest, mInput, plugin);
        checkFormats(mRecipe, mInput);
        setRunNote(progressNote(mNames, 0));
        {
            PhaseTimes::Stretch setUp(mTimes, PhaseTimes::SetUp);
            if (const Result loaded = mHost.loadPlugin(plugin); !loaded) throw ToolError(loaded.error);
        }
        readInput();

        {
            PhaseTimes::Stretch setUp(mTimes, PhaseTimes::SetUp);
            rebaseMaterials();
        }
        if (mNames.restShape()) stageRestShape();
        PhaseTimes::Stretch setUp(mTimes, PhaseTimes::SetUp);
        buildScene();
        applySettings();
        if (!mRecipe.render.empty()) {
            mViewport = std::make_unique<Viewport>(mRecipe.width, mRecipe.height);
            parseView(mRecipe.view, mView);
            if (mFrames.sequence()) frameSequencePictures();
        }
        if (!mRecipe.cache.empty()) mCache = std::make_unique<CacheFile>(mRecipe.cache, mVertexCount, mFrames);
    }

    int frameCount() const { return mFrames.count(); }

    // Frame `index` of the run: its evaluation, its picture, its files put in place together
    // (with the whole run's, on the last frame).
    void runFrame(int index)
    {
        const int frame = mFrames.numbers[index];
        if (mFrames.sequence())
            mProgress.show("frame " + std::to_string(frame) + " (" + std::to_string(index + 1) + "/" +
                           std::to_string(mFrames.count()) + ")");
        {
            PhaseTimes::Stretch evaluating(mTimes, PhaseTimes::Evaluate);
            if (!mFrames.sequence()) mProgress.show("deforming " + std::to_string(mVertexCount) + " vertices");
            // The framing's evaluations stopped at a frame that failed: this one is that frame
            // or after it, and fails as it did there.
            if (mFramed && mFramed->failedFrame && *mFramed->failedFrame <= frame)
                std::rethrow_exception(mFramed->failure);
            evaluateFrame(mHost, mScene, mAnimation, frame, mVertexCount, mMesh.positions(), mClampedKeys);
        }
        if (mViewport) {
            PhaseTimes::Stretch rendering(mTimes, PhaseTimes::Render);
            if (!mFrames.sequence()) mProgress.show("rendering");
            if (mFrames.sequence()) mStyle.frame = frame;
            const std::vector<std::string> warnings =
                mFramed ? drawScene(*mViewport, mHost, mScene, sceneMesh(), mFramed->framing, mStyle)
                        : drawScene(*mViewport, mHost, mScene, sceneMesh(), mView, mStyle);
            for (const std::string& w : warnings) warn(w);
        }
        PhaseTimes::Stretch writing(mTimes, PhaseTimes::Write);
        writeFrame(index, frame);
        setRunNote(progressNote(mNames, index + 1));
        mProgress.clear();
    }

    // The line of a failure on frame `index` of a sequence, after the frames before it.
    std::string failedFrame(int index, const std::string& reason) const
    {
        return "frame " + std::to_string(mFrames.numbers[index]) + ": " + reason + " (frames " +
               std::to_string(mFrames.numbers.front()) + ".." + std::to_string(mFrames.numbers[index - 1]) +
               " were written" + (mCache ? "; the cache was not" : "") + ")";
    }
    bool sequence() const { return mFrames.sequence(); }

    // What is where now.
    void report()
    {
        mProgress.clear();
        if (mNames.meshPerFrame() && !mMeshToStdout) mSay << "wrote " << eachFrame(mRecipe.output, "-o") << "\n";
        if (mViewport) {
            mSay << "wrote " << eachFrame(mRecipe.render, "--render");
            if (!mFrames.sequence())
                mSay << " (" << mRecipe.width << "x" << mRecipe.height << ", " << mRecipe.view << " view)";
            mSay << "\n";
        }
        if (mCache) {
            mSay << "wrote " << mRecipe.cache << " (" << mFrames.count() << " frame"
                 << (mFrames.count() == 1 ? "" : "s") << " of " << mVertexCount << " points from frame "
                 << mFrames.numbers.front() << ")\n";
            if (mNames.restShape() && !mMeshToStdout) mSay << "wrote " << mRecipe.output << " (the rest shape)\n";
        }
        if (!mRequest.saveConfig.empty()) mSay << "wrote " << mRequest.saveConfig << " (the recipe)\n";
        if (mRecipe.output.empty() && mRecipe.render.empty() && mRecipe.cache.empty())
            std::cerr << "hxnoise: nothing written" << (mRequest.saveConfig.empty() ? "" : " but the recipe")
                      << ": name a mesh with -o, a picture with --render and/or a point cache with --cache\n";
    }

private:
    void readInput()
    {
        PhaseTimes::Stretch reading(mTimes, PhaseTimes::Read);
        mProgress.show("reading " + (mInput == "-" ? std::string("standard input") : mInput));
        mMesh = readMesh(mInput);
        mProgress.clear();
        for (const std::string& w : mMesh.warnings()) warn(w);
        mSay << "read "
             << (mRecipe.input.empty() ? mInput + " (the bundled example)"
                 : mInput == "-"       ? std::string("standard input")
                                       : mInput)
             << "\n";
    }

    // An OBJ written to another folder keeps its material libraries working.
    void rebaseMaterials()
    {
        if (mRecipe.output.empty() || outputFormat(mRecipe.output) != MeshFormat::Obj) return;
        const MaterialLibraryReport report = rebaseMaterialLibraries(
            mMesh, mInput, mNames.meshPerFrame() ? mNames.mesh(mFrames.numbers.front()) : mRecipe.output);
        for (const std::string& note : report.notes) mSay << note << "\n";
        for (const std::string& w : report.warnings) warn(w);
    }

    // The cache's rest shape is the mesh as read: written now, before the host takes the points,
    // and put in place with the last frame.
    void stageRestShape()
    {
        PhaseTimes::Stretch writing(mTimes, PhaseTimes::Write);
        const std::vector<std::string> comment = recipeComment(mRecipe, std::nullopt);
        if (mMeshToStdout) {
            StringSink sink(mRestShapeOnStdout);
            writeMeshTo(sink, mMesh, MeshFormat::Obj, comment, "standard output", mFormatWarnings);
        } else {
            stageMesh(mWholeRun, mRecipe.output, mRecipe.output, mMesh, comment, mFormatWarnings);
        }
    }

    // The host takes the points; they come back deformed into the same array. The topology
    // stays with the mesh, which writes it: the host gets its own.
    void buildScene()
    {
        mVertexCount = mMesh.vertexCount();
        mScene = buildDeformScene(
            mHost, meshNodeName(mMesh.nodeName(), mInput == "-" ? "stdin" : fs::path(mInput).stem().string()),
            std::move(mMesh.positions()), std::vector<int>(mMesh.faceSizes().begin(), mMesh.faceSizes().end()),
            mMesh.faceVertexIndices());
        for (const std::string& node : mScene.nodes)
            mSay << "created " << describeNode(mHost, node, mScene, mMesh, mVertexCount) << "\n";
    }

    // Every name and value is checked before the first is set; a plug the deformer never reads
    // is worth one warning, however often it is set or keyed.
    void applySettings()
    {
        mAnimation = buildAnimation(mHost, mRecipe);
        std::vector<NamedPlug> plugs;
        std::vector<std::vector<double>> numbers;
        for (const AttributeSetting& setting : mRecipe.settings) {
            plugs.push_back(findPlug(mHost, setting.node, setting.attribute));
            numbers.push_back(settingValues(plugs.back(), setting));
            mAnimation.checkNotKeyed("--set " + setting.node + "." + setting.attribute + "=" + setting.text,
                                     numberPlugs(plugs.back()));
        }
        std::set<std::string> keyed;
        std::vector<NamedPlug> keyPlugs;
        for (const Key& key : mRecipe.keys)
            if (NamedPlug plug = findPlug(mHost, key.node, key.attribute); keyed.insert(plug.name).second)
                keyPlugs.push_back(plug);
        mStyle = pictureStyle(mRecipe, plugs, keyPlugs);
        std::set<std::string> ignored;
        const auto warnIfIgnored = [&](const NamedPlug& plug) {
            const std::string warning = ignoredPlugWarning(plug);
            if (!warning.empty() && ignored.insert(plug.nodeType + "." + plug.attribute.longName).second) warn(warning);
        };
        for (std::size_t i = 0; i < plugs.size(); ++i) {
            const Result set = mHost.setAttr(plugs[i].name, numbers[i]);
            if (!set) throw UsageError("--set " + plugs[i].name + ": " + set.error);
            for (const std::string& w : set.warnings) warn(w);
            warnIfIgnored(plugs[i]);
            mSay << "set " << plugs[i].name << " = " << storedValueText(mHost, plugs[i], mRecipe.settings[i]) << "\n";
        }
        for (const NamedPlug& plug : keyPlugs) warnIfIgnored(plug);
    }

    SceneMesh sceneMesh() const { return {&mMesh.positions(), &mMesh.faceSizes(), &mMesh.faceVertexIndices()}; }

    // A sequence's pictures share one camera and grid, framed on what its frames show, so that
    // they play as a flipbook: those frames are evaluated once for that first. A frame that
    // fails then fails again in its turn, after the frames before it are written.
    void frameSequencePictures()
    {
        const std::vector<int> frames = framingFrames(mRecipe, mFrames.numbers.front());
        std::size_t done = 0;
        mFramed = frameSequence(
            mHost, mScene, sceneMesh(), mView, mRecipe.width, mRecipe.height, frames,
            [&](int frame) {
                mProgress.show("framing the camera: frame " + std::to_string(frame) + " (" + std::to_string(++done) +
                               "/" + std::to_string(frames.size()) + ")");
                evaluateFrame(mHost, mScene, mAnimation, frame, mVertexCount, mMesh.positions(), mClampedKeys);
            },
            mStyle);
        mProgress.clear();
    }

    // The frame's files to temporaries, then in place together. The last frame takes the whole
    // run's files with it (the cache and its rest shape); the first, the saved recipe.
    void writeFrame(int index, int frame)
    {
        const bool first = index == 0, last = index + 1 == mFrames.count();
        const std::vector<std::string> comment =
            recipeComment(mRecipe, mFrames.sequence() ? std::optional(frame) : std::nullopt);
        FrameFiles own;
        FrameFiles& files = last ? mWholeRun : own;
        std::string meshOnStdout;
        if (mNames.meshPerFrame()) {
            if (!mFrames.sequence()) mProgress.show("writing " + mRecipe.output);
            if (mMeshToStdout) {
                StringSink sink(meshOnStdout);
                writeMeshTo(sink, mMesh, MeshFormat::Obj, comment, "standard output", mFormatWarnings);
            } else {
                stageMesh(files, mNames.mesh(frame), mRecipe.output, mMesh, comment, mFormatWarnings);
            }
        }
        if (mViewport)
            files.write(mNames.image(frame),
                        [&](const std::string& temporary) { mViewport->savePng(temporary, joinLines(comment)); });
        if (mCache) {
            mCache->writeFrame(mMesh.positions());
            if (last) mCache->stage(files);
        }
        if (first && !mRequest.saveConfig.empty()) stageText(files, mRequest.saveConfig, recipeToml(mRecipe));
        if (last && mMeshToStdout && meshOnStdout.empty()) meshOnStdout.swap(mRestShapeOnStdout);

        // What the run said so far must have reached its reader: a closed standard output or
        // error fails the run before any file is in place. The mesh on standard output goes
        // first, as a FIFO's bytes do, since it cannot be taken back.
        checkStandardStreams();
        if (!meshOnStdout.empty()) FdSink(1, "standard output").write(meshOnStdout.data(), meshOnStdout.size());
        files.commit();
    }

    // "out.obj", or "out_0001.obj .. out_0024.obj (24 frames)".
    std::string eachFrame(const std::string& named, const char* option) const
    {
        if (!mFrames.sequence()) return named;
        if (mFrames.count() == 1) return framePath(named, mFrames.numbers.front(), *mFrames.range, option);
        return framePath(named, mFrames.numbers.front(), *mFrames.range, option) + " .. " +
               framePath(named, mFrames.numbers.back(), *mFrames.range, option) + " (" +
               std::to_string(mFrames.count()) + " frames)";
    }

    const DeformRequest& mRequest;
    const Recipe& mRecipe;
    PhaseTimes& mTimes;
    const Frames mFrames;
    const RunNames mNames;
    // With the mesh on standard output, the run's own messages go to standard error.
    const bool mMeshToStdout;
    std::ostream& mSay;
    Host& mHost;
    HostSession mSession;
    Progress mProgress;

    std::string mInput;
    Mesh mMesh;
    std::size_t mVertexCount = 0;
    DeformScene mScene;
    Animation mAnimation;
    std::unique_ptr<Viewport> mViewport;
    View mView = View::Persp;
    PictureStyle mStyle;
    std::optional<SequenceFraming> mFramed; // a sequence's one camera and grid
    std::unique_ptr<CacheFile> mCache;
    FrameFiles mWholeRun; // put in place with the last frame
    std::string mRestShapeOnStdout;
    OnceWarnings mFormatWarnings;
    std::set<std::string> mClampedKeys; // one warning per keyed plug, not one per frame
};

} // namespace

int runDeform(const DeformRequest& request)
{
    PhaseTimes times;
    const Recipe recipe = deformRecipe(request);
    DeformRun run(request, recipe, times);
    run.prepare();
    for (int index = 0; index < run.frameCount(); ++index) {
        try {
            run.runFrame(index);
        } catch (const std::bad_alloc&) {
            if (index == 0 || !run.sequence()) throw;
            throw ToolError(run.failedFrame(index, "out of memory"));
        } catch (const std::runtime_error& error) {
            // The frames before this one are whole files; say which are there.
            if (index == 0 || !run.sequence()) throw;
            throw ToolError(run.failedFrame(index, error.what()));
        }
    }
    run.report();
    if (request.timings) std::cerr << times.report();
    return 0;
}

} // namespace hx
