// SceneWorker: the view window's scene, owned by a thread of its own.
//
// The host engine is single-threaded, so one thread does everything that touches it: loads the
// plug-in, builds the scene, applies the run's settings and keys and every edit of the panel,
// evaluates, draws the picture (off screen, with the same renderer as --render) and saves. The
// window's thread only asks (request, edit, save) and takes what is ready (takeFrame, ...):
// it never waits for an evaluation, so a heavy mesh never freezes the window. Requests that
// come faster than the scene can follow are merged: the newest camera, frame and size win, and
// every edit is applied in order before the next evaluation.
#pragma once

#include "Camera.h"
#include "DeformScene.h"
#include "FrameRange.h"
#include "Mesh.h"
#include "Panel.h"
#include "Recipe.h"
#include "Shading.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace hx {

// Everything the scene is built from.
struct ViewSetup
{
    Recipe recipe;          // settings, keys, frames, plug-in, and the names Save writes to
    std::string inputPath;  // the mesh file (the bundled example when the recipe names none)
    std::string pluginPath; // the plug-in, located
    Mesh mesh;              // read before any thread or window exists
    std::string nodeName;   // the mesh's transform ("blob")
};

// What the window builds its panel and timeline from.
struct ViewScene
{
    DeformScene nodes;
    std::vector<PanelSection> panel;  // hxNoise1, transform1, noiseLocator1
    std::optional<FrameRange> frames; // the timeline, when the run has frames
    std::vector<std::string> report;  // what deform would print: the nodes made, the values set
};

// What the window asks to see. The newest request wins.
struct SceneRequest
{
    std::uint64_t id = 0;         // the window's count of its requests, echoed by the picture
    double frame = 0.0;           // the timeline's frame (with frames only)
    std::optional<Camera> camera; // none: the scene framed in `view`, as --render frames it
    View view = View::Persp;
    int width = 640; // the viewport, in pixels
    int height = 480;
    bool hud = true;
    Shading shading = Shading::Auto;
    bool interacting = false; // the camera is being dragged: draw fast, without antialiasing
};

// One picture of the scene and the values the panel shows with it.
struct SceneFrame
{
    std::uint64_t serial = 0;  // counts up with every picture
    std::uint64_t request = 0; // the id of the request it answers
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;                    // top row first
    Camera camera;                                     // the camera it was drawn with
    std::vector<Vec3> framingPoints;                   // what framing the scene looks at (OrbitCamera::frame)
    Bounds bounds;                                     // everything the scene shows
    Insets insets;                                     // the heads-up display's bands at this size
    std::map<std::string, std::vector<double>> values; // every panel plug's value
    double frame = 0.0;
    std::string problem; // why the evaluation or the drawing failed, else empty
};

// The files Save writes; an empty name is not written. With frames, the mesh and the
// picture are the current frame's, numbered as deform numbers them.
struct SaveRequest
{
    std::string mesh;
    std::string picture;
    std::string recipe;
};
struct SaveResult
{
    bool ok = false;
    std::string message; // "saved blob_noise.obj, blob_noise.png, blob_noise.toml", or why not
    std::vector<std::string> written;
};

class SceneWorker
{
public:
    explicit SceneWorker(ViewSetup setup);
    // Stops the thread after what it is doing, and empties the host.
    ~SceneWorker();
    SceneWorker(const SceneWorker&) = delete;
    SceneWorker& operator=(const SceneWorker&) = delete;

    // Waits until the scene is built; rethrows what building it threw (UsageError for a --set
    // that names nothing, ToolError for a plug-in that does not load, ...).
    const ViewScene& waitUntilBuilt();

    void request(const SceneRequest& request);
    void edit(const PanelEdit& edit);
    void save(const SaveRequest& save);

    // The newest picture not taken yet, and so on; none when nothing new is ready.
    std::optional<SceneFrame> takeFrame();
    std::optional<SaveResult> takeSaveResult();
    // What edits said: clamped values, plugs that change nothing, refusals.
    std::vector<std::string> takeMessages();
    // Evaluating, drawing or saving, or about to.
    bool busy() const;
    // Called on the worker's thread whenever something is ready to take (to wake a window).
    void onReady(std::function<void()> wake);

private:
    // The recipe Save writes: the run's, with the panel's edits as settings after its own and
    // the picture as the window shows it.
    Recipe savedRecipe(const SaveRequest& save, const SceneRequest& view) const;
    void run();
    void build();
    void serve();
    void evaluate(double frame);
    SceneFrame draw(const SceneRequest& request, bool antialias);
    SaveResult write(const SaveRequest& save, const SceneRequest& view);
    void ready();

    // Shared with the window's thread, under mMutex.
    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    bool mStop = false;
    bool mBuilt = false;
    std::exception_ptr mBuildFailure;
    std::optional<SceneRequest> mRequest; // the newest, not yet served
    std::vector<PanelEdit> mEdits;
    std::vector<SaveRequest> mSaves;
    std::optional<SceneFrame> mFrame;
    std::optional<SaveResult> mSaveResult;
    std::vector<std::string> mMessages;
    bool mWorking = false;
    std::mutex mWakeMutex; // held while mWake runs, and to change it
    std::function<void()> mWake;

    // The worker thread's own.
    struct Scene;
    std::unique_ptr<Scene> mScene;
    ViewScene mView;
    std::thread mThread;
};

} // namespace hx
