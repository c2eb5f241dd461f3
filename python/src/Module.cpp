// _hxnoise: the C++ half of `import hxnoise`. The scene a script edits (ScriptScene.h) and
// the host's registry, bound as plain functions; hxnoise/cmds.py gives them the host's command
// words and flags.
//
// Nothing a script does may end the interpreter: every C++ exception becomes a Python one at
// this boundary. A mistake in what the script named or typed (UsageError, an unknown file
// format, two names for one file) is a ValueError; what the scene, a plug-in or a file refused
// is a RuntimeError with the host's one-line reason; running out of memory is a MemoryError.
#include "AttributeEdit.h"
#include "FrameRange.h"
#include "MeshFormat.h"
#include "OutputPlan.h"
#include "PluginFile.h"
#include "ScriptScene.h"
#include "ValueParse.h"

#include <engine/Host.h>

#include <GL/gl.h>
#include <dlfcn.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <filesystem>
#include <new>

namespace py = pybind11;
namespace fs = std::filesystem;

namespace {

// The folder this module's file is in, found through one of its own functions.
std::string moduleFolder()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&moduleFolder), &info) == 0 || !info.dli_fname) return ".";
    return fs::path(info.dli_fname).parent_path().string();
}

hx::ScriptScene& scene()
{
    // Never destroyed: the interpreter's exit empties it first (hxnoise/__init__.py), while
    // the plug-ins' code is still loaded.
    static hx::ScriptScene* instance = new hx::ScriptScene(hx::layoutFolder(moduleFolder(), HX_MODULE_PLUGIN_FOLDER));
    return *instance;
}

// The plug-in leaves its GL calls for the process to supply, and the host loads it with
// RTLD_LOCAL: Mesa, loaded privately with this module, is made global so that they resolve.
void shareGl()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&glBegin), &info) != 0 && info.dli_fname)
        dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_GLOBAL);
}

// What a command said beyond its result, handed to Python: (warnings, notes).
py::tuple remarksOf(const hx::Remarks& remarks)
{
    return py::make_tuple(remarks.warnings, remarks.notes);
}

py::dict attributeDict(const hx::AttributeInfo& a)
{
    py::dict d;
    d["longName"] = a.longName;
    d["shortName"] = a.shortName;
    d["kind"] = a.kind;
    d["valueType"] = a.valueType;
    d["default"] = a.defaultValue;
    d["min"] = a.min ? py::cast(*a.min) : py::none();
    d["max"] = a.max ? py::cast(*a.max) : py::none();
    d["keyable"] = a.keyable;
    d["storable"] = a.storable;
    d["readable"] = a.readable;
    d["writable"] = a.writable;
    d["connectable"] = a.connectable;
    d["hidden"] = a.hidden;
    d["array"] = a.array;
    d["inherited"] = a.inherited;
    d["parent"] = a.parent;
    d["children"] = a.children;
    d["affects"] = a.affects;
    return d;
}

py::object nodeTypeInfo(const std::string& type)
{
    const std::optional<hx::NodeTypeInfo> info = hx::Host::instance().nodeType(type);
    if (!info) return py::none();
    py::dict d;
    d["name"] = info->name;
    d["id"] = info->id;
    d["plugin"] = info->plugin;
    py::list attributes;
    for (const hx::AttributeInfo& a : info->attributes) attributes.append(attributeDict(a));
    d["attributes"] = attributes;
    return d;
}

py::list pluginList()
{
    py::list list;
    for (const hx::PluginInfo& p : hx::Host::instance().plugins()) {
        py::dict d;
        d["name"] = p.name;
        d["path"] = p.path;
        d["vendor"] = p.vendor;
        d["version"] = p.version;
        d["apiVersion"] = p.apiVersion;
        d["nodeTypes"] = p.nodeTypes;
        list.append(d);
    }
    return list;
}

// A plug as the scene knows it: {"name", "nodeType", "attribute", "components"}.
py::dict plugInfo(const std::string& text)
{
    std::string node, attribute;
    hx::parsePlugName(text, node, attribute);
    const hx::NamedPlug plug = hx::findPlug(hx::Host::instance(), node, attribute);
    py::dict d;
    d["name"] = plug.name;
    d["node"] = node;
    d["nodeType"] = plug.nodeType;
    d["attribute"] = attributeDict(plug.attribute);
    py::list components;
    for (const hx::AttributeInfo& c : plug.components) components.append(attributeDict(c));
    d["components"] = components;
    return d;
}

py::array_t<double> pointsArray(const std::string& shape)
{
    std::vector<double> points = scene().points(shape);
    py::array_t<double> array({static_cast<py::ssize_t>(points.size() / 3), py::ssize_t(3)});
    std::copy(points.begin(), points.end(), array.mutable_data());
    return array;
}

void setPointsArray(const std::string& shape, const py::array& given)
{
    const char kind = given.dtype().kind();
    if (kind != 'f' && kind != 'i' && kind != 'u')
        throw hx::UsageError("points must be real numbers, not an array of dtype " +
                             py::str(given.dtype()).cast<std::string>());
    if (given.ndim() != 2 || given.shape(1) != 3)
        throw hx::UsageError("points must be an array of shape (N, 3), not " +
                             py::str(given.attr("shape")).cast<std::string>());
    const auto array = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(given);
    if (!array) throw hx::UsageError("points must be an array of real numbers");
    const double* data = array.data();
    scene().setPoints(shape, std::vector<double>(data, data + array.size()));
}

} // namespace

PYBIND11_MODULE(_hxnoise, m)
{
    m.doc() = "The hxNoise stand-in host for scripts: the C++ half of the hxnoise package.";
    shareGl();

    py::register_exception_translator([](std::exception_ptr error) {
        try {
            if (error) std::rethrow_exception(error);
        } catch (const hx::UsageError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const hx::MeshFormatError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const hx::OutputClash& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const py::builtin_exception& e) {
            e.set_error(); // pybind11's own: a TypeError for an argument of the wrong type, ...
        } catch (const std::bad_alloc&) {
            PyErr_SetString(PyExc_MemoryError, "out of memory");
        } catch (const std::exception& e) {
            PyErr_SetString(PyExc_RuntimeError, e.what());
        }
    });

    m.def("version", [] { return std::string(HX_VERSION); });
    m.def(
        "example_mesh", [] { return hx::layoutFolder(moduleFolder(), HX_MODULE_EXAMPLE_MESH); },
        "The bundled example mesh (blob.obj) of the install.");
    m.def(
        "plugin_folder", [] { return hx::layoutFolder(moduleFolder(), HX_MODULE_PLUGIN_FOLDER); },
        "The installed plug-in folder, searched after MAYA_PLUG_IN_PATH.");
    m.attr("max_frame") = hx::kMaxFrameNumber;

    // Plug-ins and the registry.
    m.def("load_plugin", [](const std::string& name) {
        hx::Remarks remarks;
        const auto [plugin, path] = scene().loadPlugin(name, remarks);
        return py::make_tuple(plugin, path, remarksOf(remarks));
    });
    m.def("unload_plugin", [](const std::string& name) { scene().unloadPlugin(name); });
    m.def("plugins", &pluginList);
    m.def("node_types", [] { return hx::Host::instance().nodeTypes(); });
    m.def("node_type", &nodeTypeInfo);

    // Nodes.
    m.def("create_node", [](const std::string& type, const std::string& name, const std::string& parent) {
        return scene().createNode(type, name, parent);
    });
    m.def("delete_nodes", [](const std::vector<std::string>& names) { scene().deleteNodes(names); });
    m.def("rename", [](const std::string& node, const std::string& name) { return scene().rename(node, name); });
    m.def("new_scene", [] { scene().newScene(); });
    m.def("deformer", [](const std::string& type, const std::string& object, const std::string& name) {
        return scene().deformer(type, object, name);
    });
    m.def("exists", [](const std::string& node) { return hx::Host::instance().exists(node); });
    m.def("list_nodes", [](const std::string& type) { return hx::Host::instance().listNodes(type); });
    m.def("type_of", [](const std::string& node) { return hx::Host::instance().typeOf(node); });
    m.def("parent_of", [](const std::string& node) { return hx::Host::instance().parentOf(node); });
    m.def("children_of", [](const std::string& node) { return hx::Host::instance().childrenOf(node); });

    // Attributes and connections.
    m.def("plug_info", &plugInfo);
    m.def("set_attr", [](const std::string& plug, const std::vector<double>& values) {
        hx::Remarks remarks;
        scene().setAttr(plug, values, remarks);
        return remarksOf(remarks);
    });
    m.def("get_attr", [](const std::string& plug) { return scene().getAttr(plug); });
    m.def("get_attr_at", [](const std::string& plug, double time) { return scene().getAttrAt(plug, time); });
    m.def("connect", [](const std::string& s, const std::string& d, bool force) { scene().connect(s, d, force); });
    m.def("disconnect", [](const std::string& s, const std::string& d) { scene().disconnect(s, d); });
    m.def("source_of", [](const std::string& plug) { return hx::Host::instance().sourceOf(plug); });
    m.def("destinations_of", [](const std::string& plug) { return hx::Host::instance().destinationsOf(plug); });
    m.def("connections_of", [](const std::string& node) { return hx::Host::instance().connectionsOf(node); });

    // Meshes and pictures.
    m.def("import_mesh", [](const std::string& path) {
        hx::Remarks remarks;
        std::vector<std::string> nodes = scene().importMesh(path, remarks);
        return py::make_tuple(nodes, remarksOf(remarks));
    });
    m.def("export_scene", [](const std::string& path, bool force, const std::string& type) {
        hx::Remarks remarks;
        scene().exportScene(path, force, type, remarks);
        return remarksOf(remarks);
    });
    m.def("points", &pointsArray);
    m.def("set_points", &setPointsArray);
    m.def("render", [](const std::string& path, const std::string& view, int width, int height,
                       const std::string& shape, bool hud, const std::string& shading) {
        hx::Remarks remarks;
        scene().render(path, view, width, height, shape, hud, shading, remarks);
        return remarksOf(remarks);
    });

    // Keys and time.
    m.def("set_keyframe", [](const std::string& plug, std::optional<int> frame, std::optional<double> value) {
        hx::Remarks remarks;
        const int count = scene().setKeyframe(plug, frame, value, remarks);
        return py::make_tuple(count, remarksOf(remarks));
    });
    m.def("current_time", [] { return scene().currentTime(); });
    m.def("set_current_time", [](double time) {
        hx::Remarks remarks;
        scene().setCurrentTime(time, remarks);
        return remarksOf(remarks);
    });
    m.def("set_tangents", [](const std::string& name) { scene().setTangents(hx::parseTangents(name)); });
    m.def("tangents", [] { return std::string(hx::tangentsName(scene().tangents())); });
    m.def("keys", [] { return scene().keyTexts(); });

    m.def("shutdown", [] { scene().shutdown(); });
}
