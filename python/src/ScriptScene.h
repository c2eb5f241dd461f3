// ScriptScene: the scene a Python script builds and edits through `hxnoise.cmds`, in the
// process-wide host.
//
// Plug-ins, nodes, attributes and connections are the host's (Host.h); each call here checks
// what it is given as the hxnoise tool does (names with the closest ones suggested, whole
// numbers for integer attributes, files by identity) and then calls the host. What the host
// does not keep is kept here:
// - the meshes read from files, with what a file says beyond points and faces (texture
//   coordinates, normals, groups, materials), so that a mesh written back keeps them;
// - the keys, one curve per keyed number (the sequence layer's Animation, with the tool's
//   interpolation, clash refusals and rounding), and the current time, whose values the
//   keyed numbers take whenever the time or the keys change.
//
// Errors: UsageError for something the caller named or typed wrong (a node or attribute
// that is not there, a value the attribute cannot take, a file name of no known format, two
// names for one file), ToolError with the host's one-line reason for what the scene refused
// or failed to do, and the mesh layer's and output step's errors for files. Single-threaded,
// like the host.
#pragma once

#include "Animation.h"
#include "Key.h"
#include "KeyCurve.h"
#include "Mesh.h"

#include <engine/Host.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hx {

// What a command did beyond its result: warnings for the user (a value clamped to an
// attribute's limits, what a file format could not hold), and notes (material libraries
// written relative to a new folder).
struct Remarks
{
    std::vector<std::string> warnings;
    std::vector<std::string> notes;
};

class ScriptScene
{
public:
    // `ownPluginFolder`: the plug-in folder of the module's install layout, searched after
    // MAYA_PLUG_IN_PATH for a plug-in given by name.
    explicit ScriptScene(std::string ownPluginFolder);
    ~ScriptScene();
    ScriptScene(const ScriptScene&) = delete;
    ScriptScene& operator=(const ScriptScene&) = delete;

    // ---- plug-ins --------------------------------------------------------------------------

    // Loads a plug-in given by name ("hxNoise", searched as the host does) or by its file.
    // A plug-in of that name already loaded is left as it is. Returns its name and path.
    std::pair<std::string, std::string> loadPlugin(const std::string& nameOrPath, Remarks& remarks);
    void unloadPlugin(const std::string& nameOrPath);

    // ---- nodes -----------------------------------------------------------------------------

    std::string createNode(const std::string& type, const std::string& name, const std::string& parent);
    // Deletes every node named (with the children of a transform); none when one is missing.
    // The keys of deleted nodes go with them.
    void deleteNodes(const std::vector<std::string>& names);
    // The keys of the node follow it.
    std::string rename(const std::string& node, const std::string& newName);
    // Empties the scene (plug-ins stay loaded), forgets every key and returns to time 1.
    void newScene();
    // The host's deformer command on `object` (a mesh shape, or the transform above one);
    // `name` renames the deformer. Returns the new nodes, the deformer first.
    std::vector<std::string> deformer(const std::string& type, const std::string& object, const std::string& name);

    // ---- attributes ------------------------------------------------------------------------

    // `plug` as "node.attr", long or short names, "parent.child" and "attr[2]" paths.
    // Values: one per component, 16 for a matrix, 3 per vector of a vector array.
    void setAttr(const std::string& plug, const std::vector<double>& values, Remarks& remarks);
    std::vector<double> getAttr(const std::string& plug);
    // The value at `time`, the keyed numbers evaluated there; the scene stays at its time.
    std::vector<double> getAttrAt(const std::string& plug, double time);

    void connect(const std::string& source, const std::string& destination, bool force);
    void disconnect(const std::string& source, const std::string& destination);

    // ---- meshes ----------------------------------------------------------------------------

    // Reads a mesh file (OBJ, PLY, STL, glTF, GLB, FBX, Collada) into a new transform and shape
    // named as the tool names them ("blob" and "blobShape"; a number is added to a name the
    // scene already has). Returns the new nodes.
    std::vector<std::string> importMesh(const std::string& path, Remarks& remarks);
    // Writes every visible mesh of the scene, evaluated and in world space, as one file of the
    // format its name asks for (`type`, when given, must agree: "OBJexport", "OBJ", "PLY", ...).
    // An existing file is replaced only with `force`; no file the scene was read from or the
    // plug-ins were loaded from is ever written over. The file appears whole or not at all.
    void exportScene(const std::string& path, bool force, const std::string& type, Remarks& remarks);
    // The evaluated points of a mesh shape (or of the one under a transform), x, y, z each.
    std::vector<double> points(const std::string& shape);
    // Gives the mesh new points, as many as it has, x, y, z each; on a deformed shape, the
    // points go to the geometry the deformer reads, so the deformation follows them.
    void setPoints(const std::string& shape, std::vector<double> points);
    // Draws the viewport (grid, the mesh, each locator's own draw) into a PNG file. `shape`
    // names the mesh to draw; empty: the scene's only visible mesh. `hud` and `shading` are
    // the tool's --hud and --shading.
    void render(const std::string& path, const std::string& view, int width, int height, const std::string& shape,
                bool hud, const std::string& shading, Remarks& remarks);

    // ---- keys and time ---------------------------------------------------------------------

    // Keys `plug` at `frame` (default: the current time, which must then be a whole frame)
    // to `value` (default: what it holds now; for a compound, each child's), one key per
    // number. Returns the number of keys set. A number keyed at that frame already is
    // refused, as the tool refuses two keys on one number at one frame.
    int setKeyframe(const std::string& plug, std::optional<int> frame, std::optional<double> value, Remarks& remarks);
    double currentTime() const { return mTime; }
    // Goes to `time` (any finite number; frames need not be whole): every keyed number takes
    // its value there.
    void setCurrentTime(double time, Remarks& remarks);
    // The interpolation of every curve: linear (the default) or smooth, as the tool's
    // --tangents.
    void setTangents(Tangents tangents);
    Tangents tangents() const { return mTangents; }
    // Every key as the tool's recipes write them ("hxNoise1.oxNoiseAmp@10=0.5").
    std::vector<std::string> keyTexts() const;

    // Empties the scene and unloads every plug-in (at the interpreter's exit).
    void shutdown();

private:
    struct ImportedMesh;

    void applyAnimation(double time, Remarks* remarks);
    void rebuildAnimation(std::vector<Key> keys);
    void forgetGoneNodes();
    const ImportedMesh* importedMeshOf(const std::string& shape) const;
    Mesh sceneMesh(const std::string& shape, const std::string& outputPath, Remarks& remarks);
    std::vector<std::string> visibleMeshes() const;
    std::string shapeOf(const std::string& object) const;
    void requireNode(const std::string& node) const;

    Host& mHost;
    std::string mOwnPluginFolder;
    std::vector<ImportedMesh> mMeshes;
    std::vector<Key> mKeys;
    std::unique_ptr<Animation> mAnimation;
    Tangents mTangents = Tangents::Linear;
    double mTime = 1.0;
    std::string mRendererFailure; // why the off-screen renderer may not be used again, if it may not
};

} // namespace hx
