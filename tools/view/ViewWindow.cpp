#include "ViewWindow.h"

#include "FrameFiles.h"
#include "OrbitCamera.h"
#include "PngFile.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <limits>
#include <map>

namespace hx {
namespace {

// The few OpenGL calls the window makes itself, from the window's own OpenGL (GLFW's).
struct WindowGl
{
    using GenTextures = void (*)(int, unsigned*);
    using DeleteTextures = void (*)(int, const unsigned*);
    using BindTexture = void (*)(unsigned, unsigned);
    using TexParameteri = void (*)(unsigned, unsigned, int);
    using TexImage2D = void (*)(unsigned, int, int, int, int, int, unsigned, unsigned, const void*);
    using PixelStorei = void (*)(unsigned, int);
    using Viewport = void (*)(int, int, int, int);
    using ClearColor = void (*)(float, float, float, float);
    using Clear = void (*)(unsigned);
    using ReadBuffer = void (*)(unsigned);
    using ReadPixels = void (*)(int, int, int, int, unsigned, unsigned, void*);
    using Finish = void (*)();

    GenTextures genTextures = nullptr;
    DeleteTextures deleteTextures = nullptr;
    BindTexture bindTexture = nullptr;
    TexParameteri texParameteri = nullptr;
    TexImage2D texImage2D = nullptr;
    PixelStorei pixelStorei = nullptr;
    Viewport viewport = nullptr;
    ClearColor clearColor = nullptr;
    Clear clear = nullptr;
    ReadBuffer readBuffer = nullptr;
    ReadPixels readPixels = nullptr;
    Finish finish = nullptr;

    // The context must be current.
    void load()
    {
        const auto get = [](const char* name) {
            GLFWglproc proc = glfwGetProcAddress(name);
            if (!proc) throw WindowError(std::string("the window's OpenGL lacks ") + name);
            return proc;
        };
        genTextures = reinterpret_cast<GenTextures>(get("glGenTextures"));
        deleteTextures = reinterpret_cast<DeleteTextures>(get("glDeleteTextures"));
        bindTexture = reinterpret_cast<BindTexture>(get("glBindTexture"));
        texParameteri = reinterpret_cast<TexParameteri>(get("glTexParameteri"));
        texImage2D = reinterpret_cast<TexImage2D>(get("glTexImage2D"));
        pixelStorei = reinterpret_cast<PixelStorei>(get("glPixelStorei"));
        viewport = reinterpret_cast<Viewport>(get("glViewport"));
        clearColor = reinterpret_cast<ClearColor>(get("glClearColor"));
        clear = reinterpret_cast<Clear>(get("glClear"));
        readBuffer = reinterpret_cast<ReadBuffer>(get("glReadBuffer"));
        readPixels = reinterpret_cast<ReadPixels>(get("glReadPixels"));
        finish = reinterpret_cast<Finish>(get("glFinish"));
    }
};

// OpenGL's numbers for the calls above.
constexpr unsigned kTexture2D = 0x0DE1, kTextureMinFilter = 0x2801, kTextureMagFilter = 0x2800, kLinear = 0x2601,
                   kRgba = 0x1908, kUnsignedByte = 0x1401, kUnpackAlignment = 0x0CF5, kPackAlignment = 0x0D05,
                   kColorBufferBit = 0x4000, kBack = 0x0405;

std::string glfwProblem;

void glfwErrorToText(int, const char* description)
{
    glfwProblem = description ? description : "unknown error";
}

// GLFW for this function's lifetime.
class GlfwSession
{
public:
    GlfwSession()
    {
        glfwSetErrorCallback(glfwErrorToText);
        if (!glfwInit())
            throw WindowError("cannot open a window: " + glfwProblem +
                              " (is DISPLAY set? under xvfb-run, --snapshot saves a picture of the window)");
    }
    ~GlfwSession() { glfwTerminate(); }
};

std::string fieldFormat(const PanelField& field)
{
    return field.kind == PanelField::Kind::Integer ? "%d" : "%.6g";
}

// Where the Save dialog's names, the timeline and the panel's values stand, between frames.
class Window
{
public:
    Window(SceneWorker& worker, const ViewScene& scene, const WindowOptions& options)
        : mWorker(worker), mScene(scene), mOptions(options), mSaveNames(options.saveNames)
    {
        mView = options.view;
        mHud = options.hud;
        mShading = options.shading;
        if (scene.frames) mFrameIndex = 0;
    }

    void run();

private:
    void open();
    void close();
    void frame();
    void takeFromWorker();
    void toolbar();
    void viewport(float width, float height);
    void timeline(float width);
    void panel();
    void panelRow(const PanelRow& row);
    void fieldWidget(const PanelField& field);
    void saveDialog();
    void keys();
    void sendRequest();
    void upload(const SceneFrame& picture);
    void snapshot();
    void say(const std::string& message, bool problem = false);
    double currentFrame() const { return mScene.frames ? mScene.frames->frame(mFrameIndex) : 0.0; }

    SceneWorker& mWorker;
    const ViewScene& mScene;
    const WindowOptions& mOptions;
    GLFWwindow* mWindow = nullptr;
    WindowGl mGl;
    unsigned mTexture = 0;
    int mTextureWidth = 0, mTextureHeight = 0;

    // The viewport: its size in pixels, the camera, how it is drawn.
    int mViewWidth = 0, mViewHeight = 0;
    View mView = View::Persp;
    bool mHud = true;
    Shading mShading = Shading::Auto;
    OrbitCamera mOrbit;
    bool mHasCamera = false;
    std::uint64_t mAdoptFrom = 1; // the first request whose camera the orbit camera takes over
    bool mInteracting = false;
    std::uint64_t mRequests = 0;
    std::optional<SceneRequest> mSent;
    std::optional<SceneFrame> mShown; // the latest picture, without its pixels

    // The timeline.
    int mFrameIndex = 0;
    bool mPlaying = false;
    std::chrono::steady_clock::time_point mLastStep;

    // The panel's values, as the worker last read them, and as edited since.
    std::map<std::string, std::vector<double>> mValues;
    std::string mActivePlug; // the field under the mouse's drag: its value is the window's

    std::string mStatus;
    bool mStatusProblem = false;
    SaveRequest mSaveNames;
    bool mOpenSave = false;
    bool mQuit = false;
    int mFramesSinceLastPicture = 0;
};

void Window::open()
{
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    mWindow = glfwCreateWindow(mOptions.width, mOptions.height, mOptions.title.c_str(), nullptr, nullptr);
    if (!mWindow) throw WindowError("cannot open a window: " + glfwProblem);
    glfwMakeContextCurrent(mWindow);
    glfwSwapInterval(1);
    mGl.load();

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr; // nothing left behind in the working directory
    ImGui::StyleColorsDark();
    ImGui_ImplGlfw_InitForOpenGL(mWindow, true);
    if (!ImGui_ImplOpenGL3_Init("#version 130")) throw WindowError("cannot draw in the window: OpenGL 3.0 is needed");
    mGl.genTextures(1, &mTexture);

    // A picture from the worker wakes the window at once.
    mWorker.onReady([] { glfwPostEmptyEvent(); });
}

void Window::close()
{
    mWorker.onReady(nullptr);
    if (mTexture) mGl.deleteTextures(1, &mTexture);
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    glfwDestroyWindow(mWindow);
    mWindow = nullptr;
}

void Window::say(const std::string& message, bool problem)
{
    mStatus = message;
    mStatusProblem = problem;
    if (problem) std::cerr << "hxnoise: " << message << "\n";
}

void Window::upload(const SceneFrame& picture)
{
    mGl.bindTexture(kTexture2D, mTexture);
    mGl.texParameteri(kTexture2D, kTextureMinFilter, int(kLinear));
    mGl.texParameteri(kTexture2D, kTextureMagFilter, int(kLinear));
    mGl.pixelStorei(kUnpackAlignment, 1);
    mGl.texImage2D(kTexture2D, 0, int(kRgba), picture.width, picture.height, 0, kRgba, kUnsignedByte,
                   picture.rgba.data());
    mTextureWidth = picture.width;
    mTextureHeight = picture.height;
}

void Window::takeFromWorker()
{
    if (std::optional<SceneFrame> picture = mWorker.takeFrame()) {
        upload(*picture);
        mFramesSinceLastPicture = 0;
        for (const auto& [plug, values] : picture->values)
            if (plug != mActivePlug) mValues[plug] = values;
        if (picture->request >= mAdoptFrom && !mHasCamera) {
            mOrbit = OrbitCamera(picture->camera);
            mHasCamera = true;
        }
        if (!picture->problem.empty())
            say(picture->problem, true);
        else if (mStatusProblem)
            mStatus.clear(), mStatusProblem = false;
        picture->rgba.clear();
        mShown = std::move(*picture);
    }
    for (const std::string& message : mWorker.takeMessages()) {
        std::cerr << "hxnoise: warning: " << message << "\n";
        say(message);
    }
    if (std::optional<SaveResult> saved = mWorker.takeSaveResult()) {
        if (saved->ok) std::cout << saved->message << std::endl;
        say(saved->message, !saved->ok);
    }
}

void Window::sendRequest()
{
    if (mViewWidth < 1 || mViewHeight < 1) return;
    SceneRequest request;
    request.frame = currentFrame();
    request.view = mView;
    request.width = mViewWidth;
    request.height = mViewHeight;
    request.hud = mHud;
    request.shading = mShading;
    request.interacting = mInteracting;
    if (mHasCamera && mShown) request.camera = mOrbit.camera(mShown->bounds, mViewWidth, mViewHeight);
    const auto same = [](const SceneRequest& a, const SceneRequest& b) {
        const bool sameCamera = a.camera.has_value() == b.camera.has_value() &&
                                (!a.camera || (a.camera->viewMatrix() == b.camera->viewMatrix() &&
                                               a.camera->projectionMatrix() == b.camera->projectionMatrix()));
        return sameCamera && a.frame == b.frame && a.view == b.view && a.width == b.width && a.height == b.height &&
               a.hud == b.hud && a.shading == b.shading && a.interacting == b.interacting;
    };
    if (mSent && same(*mSent, request)) return;
    request.id = ++mRequests;
    mSent = request;
    mWorker.request(request);
}

void Window::toolbar()
{
    ImGui::SetNextItemWidth(90);
    const char* views[] = {"persp", "top", "front", "side"};
    int view = int(mView);
    if (ImGui::Combo("##view", &view, views, 4) && view != int(mView)) {
        mView = View(view);
        // Framed in the new view by the worker, whose camera the window then takes over.
        mHasCamera = false;
        mAdoptFrom = mRequests + 1;
    }
    ImGui::SameLine();
    ImGui::SetNextItemWidth(90);
    const char* shadings[] = {"auto", "smooth", "wire", "both"};
    int shading = int(mShading);
    if (ImGui::Combo("##shading", &shading, shadings, 4)) mShading = Shading(shading);
    ImGui::SameLine();
    ImGui::Checkbox("HUD", &mHud);
    ImGui::SameLine();
    if (ImGui::Button("Frame")) {
        mHasCamera = false;
        mAdoptFrom = mRequests + 1;
    }
    ImGui::SameLine();
    if (ImGui::Button("Save...")) mOpenSave = true;
    // Always an item after the last SameLine, or the picture would start on this line.
    ImGui::SameLine();
    if (mWorker.busy())
        ImGui::TextColored(ImVec4(1.0f, 0.85f, 0.4f, 1.0f), "evaluating...");
    else
        ImGui::TextColored(mStatusProblem ? ImVec4(1.0f, 0.45f, 0.4f, 1.0f) : ImVec4(0.7f, 0.85f, 0.7f, 1.0f), "%s",
                           mStatus.c_str());
}

void Window::viewport(float width, float height)
{
    const ImGuiIO& io = ImGui::GetIO();
    mViewWidth = std::max(1, int(width * io.DisplayFramebufferScale.x));
    mViewHeight = std::max(1, int(height * io.DisplayFramebufferScale.y));
    const ImVec2 corner = ImGui::GetCursorScreenPos();
    if (mTextureWidth > 0)
        ImGui::GetWindowDrawList()->AddImage(reinterpret_cast<ImTextureID>(static_cast<std::intptr_t>(mTexture)),
                                             corner, ImVec2(corner.x + width, corner.y + height));
    ImGui::InvisibleButton(
        "viewport", ImVec2(width, height),
        ImGuiButtonFlags_MouseButtonLeft | ImGuiButtonFlags_MouseButtonRight | ImGuiButtonFlags_MouseButtonMiddle);
    const bool dragging = ImGui::IsItemActive() && (io.MouseDelta.x != 0.0f || io.MouseDelta.y != 0.0f);
    if (dragging && mHasCamera) {
        const double dx = io.MouseDelta.x * io.DisplayFramebufferScale.x;
        const double dy = io.MouseDelta.y * io.DisplayFramebufferScale.y;
        if (ImGui::IsMouseDown(ImGuiMouseButton_Left))
            mOrbit.tumble(dx, dy, mViewHeight);
        else if (ImGui::IsMouseDown(ImGuiMouseButton_Middle))
            mOrbit.track(dx, dy, mViewHeight);
        else if (ImGui::IsMouseDown(ImGuiMouseButton_Right))
            mOrbit.dolly(std::exp(-(dx + dy) * 0.005));
    }
    mInteracting = ImGui::IsItemActive();
    if (ImGui::IsItemHovered() && io.MouseWheel != 0.0f && mHasCamera) mOrbit.dolly(std::pow(0.9, io.MouseWheel));
}

void Window::timeline(float width)
{
    const FrameRange& range = *mScene.frames;
    const int count = range.count();
    if (ImGui::Button("|<")) mFrameIndex = 0;
    ImGui::SameLine();
    if (ImGui::Button("<")) mFrameIndex = std::max(0, mFrameIndex - 1);
    ImGui::SameLine();
    if (ImGui::Button(mPlaying ? "stop" : "play")) mPlaying = !mPlaying;
    ImGui::SameLine();
    if (ImGui::Button(">")) mFrameIndex = std::min(count - 1, mFrameIndex + 1);
    ImGui::SameLine();
    if (ImGui::Button(">|")) mFrameIndex = count - 1;
    ImGui::SameLine();
    ImGui::SetNextItemWidth(std::max(100.0f, width - ImGui::GetCursorPosX() - 10.0f));
    const std::string label = "frame " + std::to_string(range.frame(mFrameIndex));
    ImGui::SliderInt("##frame", &mFrameIndex, 0, count - 1, label.c_str(), ImGuiSliderFlags_AlwaysClamp);

    // Playing steps a frame at a time, 24 a second at most, never ahead of the evaluation.
    if (mPlaying) {
        const auto now = std::chrono::steady_clock::now();
        if (!mWorker.busy() && now - mLastStep >= std::chrono::milliseconds(41)) {
            mFrameIndex = (mFrameIndex + 1) % count;
            mLastStep = now;
        }
    }
}

void Window::fieldWidget(const PanelField& field)
{
    std::vector<double>& values = mValues[field.plug];
    if (values.empty()) values.push_back(field.defaultValue);
    double value = values[0];
    const std::string id = "##" + field.plug;
    bool changed = false;
    switch (field.kind) {
    case PanelField::Kind::Boolean: {
        bool on = value >= 0.5;
        changed = ImGui::Checkbox(id.c_str(), &on);
        value = on ? 1.0 : 0.0;
        break;
    }
    case PanelField::Kind::Integer: {
        int number = int(std::clamp(value, -2147483648.0, 2147483647.0));
        const int low = field.min ? int(*field.min) : std::numeric_limits<int>::min();
        const int high = field.max ? int(*field.max) : std::numeric_limits<int>::max();
        if (field.isSlider())
            changed = ImGui::SliderInt(id.c_str(), &number, low, high, "%d", ImGuiSliderFlags_AlwaysClamp);
        else
            changed = ImGui::DragInt(id.c_str(), &number, float(dragSpeed(field, value)), low, high, "%d",
                                     ImGuiSliderFlags_AlwaysClamp);
        value = number;
        break;
    }
    case PanelField::Kind::Float:
    case PanelField::Kind::Double: {
        const double low = field.min.value_or(-1e300), high = field.max.value_or(1e300);
        if (field.isSlider())
            changed = ImGui::SliderScalar(id.c_str(), ImGuiDataType_Double, &value, &low, &high,
                                          fieldFormat(field).c_str(), ImGuiSliderFlags_AlwaysClamp);
        else
            changed = ImGui::DragScalar(id.c_str(), ImGuiDataType_Double, &value, float(dragSpeed(field, value)),
                                        field.min ? &low : nullptr, field.max ? &high : nullptr,
                                        fieldFormat(field).c_str(), ImGuiSliderFlags_AlwaysClamp);
        break;
    }
    }
    if (ImGui::IsItemActive()) mActivePlug = field.plug;
    if (changed) {
        const PanelEdit edit = editOf(field, value);
        values[0] = edit.value;
        mWorker.edit(edit);
    }
    if (ImGui::IsItemHovered() && !field.label.empty()) ImGui::SetTooltip("%s", field.plug.c_str());
}

void Window::panelRow(const PanelRow& row)
{
    if (!row.rows.empty()) {
        if (ImGui::TreeNode(row.attribute.c_str())) {
            for (const PanelRow& child : row.rows) panelRow(child);
            ImGui::TreePop();
        }
        return;
    }
    ImGui::TableNextRow();
    ImGui::TableSetColumnIndex(0);
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(row.attribute.c_str());
    if (ImGui::IsItemHovered() && !row.note.empty()) ImGui::SetTooltip("%s", row.note.c_str());
    ImGui::TableSetColumnIndex(1);
    if (row.state == PanelRow::State::NotANumber || row.fields.empty()) {
        ImGui::TextDisabled("%s", row.note.c_str());
        return;
    }
    if (row.state != PanelRow::State::Editable) {
        // Not the window's to change: its value, and where it comes from.
        std::string text;
        for (const PanelField& field : row.fields) {
            const auto at = mValues.find(field.plug);
            char number[32] = "-";
            if (at != mValues.end() && !at->second.empty()) {
                if (field.kind == PanelField::Kind::Integer || field.kind == PanelField::Kind::Boolean)
                    std::snprintf(number, sizeof number, "%d", int(at->second[0]));
                else
                    std::snprintf(number, sizeof number, "%.6g", at->second[0]);
            }
            text += (text.empty() ? "" : ", ") + std::string(number);
        }
        const ImVec4 colour =
            row.state == PanelRow::State::Keyed ? ImVec4(1.0f, 0.62f, 0.55f, 1.0f) : ImVec4(0.6f, 0.72f, 0.95f, 1.0f);
        ImGui::TextColored(colour, "%s  %s", text.c_str(), row.note.c_str());
        return;
    }
    ImGui::PushID(row.plug.c_str());
    const float available = ImGui::GetContentRegionAvail().x;
    const std::size_t n = row.fields.size();
    const float spacing = ImGui::GetStyle().ItemInnerSpacing.x;
    const float each = std::max(30.0f, (available - spacing * float(n - 1)) / float(n));
    for (std::size_t i = 0; i < n; ++i) {
        if (i) ImGui::SameLine(0.0f, spacing);
        ImGui::SetNextItemWidth(each);
        fieldWidget(row.fields[i]);
    }
    ImGui::PopID();
}

void Window::panel()
{
    for (const PanelSection& section : mScene.panel) {
        const std::string header = section.node + "  (" + section.type + ")";
        if (!ImGui::CollapsingHeader(header.c_str(), ImGuiTreeNodeFlags_DefaultOpen)) continue;
        ImGui::PushID(section.node.c_str());
        for (const bool inherited : {false, true}) {
            if (inherited && !ImGui::TreeNode("inherited attributes")) continue;
            if (ImGui::BeginTable("rows", 2, ImGuiTableFlags_SizingStretchProp)) {
                ImGui::TableSetupColumn("attribute", ImGuiTableColumnFlags_WidthFixed, 150.0f);
                ImGui::TableSetupColumn("value", ImGuiTableColumnFlags_WidthStretch);
                for (const PanelRow& row : section.rows)
                    if (row.inherited == inherited) panelRow(row);
                ImGui::EndTable();
            }
            if (inherited) ImGui::TreePop();
        }
        ImGui::PopID();
    }
}

void Window::saveDialog()
{
    if (mOpenSave) {
        ImGui::OpenPopup("Save");
        mOpenSave = false;
    }
    if (!ImGui::BeginPopupModal("Save", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) return;
    ImGui::TextUnformatted("The deformed mesh, the picture as the viewport shows it, and the recipe that makes them");
    ImGui::TextUnformatted(mScene.frames ? "again (hxnoise deform --config). With frames, the mesh and the picture "
                                           "are this frame's, numbered."
                                         : "again (hxnoise deform --config).");
    ImGui::SetNextItemWidth(420);
    ImGui::InputText("mesh", &mSaveNames.mesh);
    ImGui::SetNextItemWidth(420);
    ImGui::InputText("picture", &mSaveNames.picture);
    ImGui::SetNextItemWidth(420);
    ImGui::InputText("recipe", &mSaveNames.recipe);
    if (ImGui::Button("Save", ImVec2(120, 0)) || ImGui::IsKeyPressed(GLFW_KEY_ENTER, false)) {
        mWorker.save(mSaveNames);
        say("saving...");
        ImGui::CloseCurrentPopup();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(120, 0)) || ImGui::IsKeyPressed(GLFW_KEY_ESCAPE, false))
        ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
}

void Window::keys()
{
    // Dear ImGui 1.86 keeps keys by GLFW's own codes.
    const auto pressed = [](int key) { return ImGui::IsKeyPressed(key, false); };
    const auto pressedOrHeld = [](int key) { return ImGui::IsKeyPressed(key, true); };
    const ImGuiIO& io = ImGui::GetIO();
    if (io.WantTextInput || ImGui::IsPopupOpen("Save")) return;
    const bool ctrl = io.KeyCtrl, alt = io.KeyAlt;
    if (ctrl && pressed(GLFW_KEY_S)) mOpenSave = true;
    if (ctrl && pressed(GLFW_KEY_Q)) mQuit = true;
    if (ctrl) return;
    if (pressed(GLFW_KEY_F)) {
        mHasCamera = false;
        mAdoptFrom = mRequests + 1;
    }
    if (pressed(GLFW_KEY_H)) mHud = !mHud;
    if (pressed(GLFW_KEY_4)) mShading = Shading::Wire;
    if (pressed(GLFW_KEY_5)) mShading = Shading::Smooth;
    if (pressed(GLFW_KEY_6)) mShading = Shading::Both;
    if (!mScene.frames) return;
    const int last = mScene.frames->count() - 1;
    if ((alt && pressed(GLFW_KEY_V)) || pressed(GLFW_KEY_SPACE)) mPlaying = !mPlaying;
    if ((alt && pressedOrHeld(GLFW_KEY_COMMA)) || pressedOrHeld(GLFW_KEY_LEFT))
        mFrameIndex = std::max(0, mFrameIndex - 1);
    if ((alt && pressedOrHeld(GLFW_KEY_PERIOD)) || pressedOrHeld(GLFW_KEY_RIGHT))
        mFrameIndex = std::min(last, mFrameIndex + 1);
    if (pressed(GLFW_KEY_HOME)) mFrameIndex = 0;
    if (pressed(GLFW_KEY_END)) mFrameIndex = last;
}

void Window::frame()
{
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    mActivePlug.clear();

    const ImGuiIO& io = ImGui::GetIO();
    const float width = io.DisplaySize.x, height = io.DisplaySize.y;
    const float panelWidth = std::clamp(width * 0.36f, 300.0f, 480.0f);
    const ImGuiWindowFlags fixed = ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                                   ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoBringToFrontOnFocus;

    // The viewport's side: toolbar, picture, timeline.
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(width - panelWidth, height));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(4, 4));
    ImGui::Begin("viewport", nullptr, fixed | ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse);
    toolbar();
    const float timelineHeight = mScene.frames ? ImGui::GetFrameHeightWithSpacing() + 4.0f : 0.0f;
    const ImVec2 space = ImGui::GetContentRegionAvail();
    viewport(space.x, std::max(1.0f, space.y - timelineHeight));
    if (mScene.frames) timeline(width - panelWidth);
    saveDialog();
    ImGui::End();
    ImGui::PopStyleVar();

    // The panel.
    ImGui::SetNextWindowPos(ImVec2(width - panelWidth, 0));
    ImGui::SetNextWindowSize(ImVec2(panelWidth, height));
    ImGui::Begin("panel", nullptr, fixed);
    panel();
    ImGui::End();

    keys();
    ImGui::Render();
    int framebufferWidth = 0, framebufferHeight = 0;
    glfwGetFramebufferSize(mWindow, &framebufferWidth, &framebufferHeight);
    mGl.viewport(0, 0, framebufferWidth, framebufferHeight);
    mGl.clearColor(0.12f, 0.12f, 0.12f, 1.0f);
    mGl.clear(kColorBufferBit);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void Window::snapshot()
{
    int width = 0, height = 0;
    glfwGetFramebufferSize(mWindow, &width, &height);
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    mGl.readBuffer(kBack);
    mGl.pixelStorei(kPackAlignment, 1);
    mGl.finish();
    mGl.readPixels(0, 0, width, height, kRgba, kUnsignedByte, rgba.data());
    for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    FrameFiles files;
    files.write(mOptions.snapshot,
                [&](const std::string& temporary) { writePng(temporary, width, height, rgba.data(), true); });
    files.commit();
    std::cout << "wrote " << mOptions.snapshot << " (" << width << "x" << height << ", the window)\n";

    // The panel as the window showed it, one value a line.
    std::cout << "panel:\n";
    std::function<void(const PanelRow&)> list = [&](const PanelRow& row) {
        for (const PanelRow& child : row.rows) list(child);
        for (const PanelField& field : row.fields) {
            const auto at = mValues.find(field.plug);
            std::vector<double> shown = at == mValues.end() ? std::vector<double>{} : at->second;
            std::string line = "  " + field.plug + " = ";
            for (std::size_t i = 0; i < shown.size(); ++i) {
                char number[32];
                std::snprintf(number, sizeof number, "%.9g", shown[i]);
                line += (i ? "," : "") + std::string(number);
            }
            if (row.state != PanelRow::State::Editable)
                line += " (" + row.note + ")";
            else if (!limitsText(field).empty())
                line += " (" + limitsText(field) + ")";
            std::cout << line << "\n";
        }
    };
    for (const PanelSection& section : mScene.panel)
        for (const PanelRow& row : section.rows) list(row);
}

void Window::run()
{
    open();
    try {
        while (!glfwWindowShouldClose(mWindow) && !mQuit) {
            takeFromWorker();
            frame();
            sendRequest();
            ++mFramesSinceLastPicture;
            // A snapshot once the picture of the window's own request is in and the panel has
            // been laid out around it.
            if (!mOptions.snapshot.empty() && mShown && mSent && mShown->request == mSent->id && mHasCamera &&
                !mWorker.busy() && mFramesSinceLastPicture >= 3) {
                snapshot();
                break;
            }
            glfwSwapBuffers(mWindow);
            if (mPlaying || mInteracting || mWorker.busy() || !mOptions.snapshot.empty())
                glfwWaitEventsTimeout(1.0 / 60.0);
            else
                glfwWaitEventsTimeout(0.5);
        }
    } catch (...) {
        close();
        throw;
    }
    glfwHideWindow(mWindow);
    close();
}

} // namespace

void runViewWindow(SceneWorker& worker, const ViewScene& scene, const WindowOptions& options)
{
    GlfwSession glfw;
    Window window(worker, scene, options);
    window.run();
}

} // namespace hx
