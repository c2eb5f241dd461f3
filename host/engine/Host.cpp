#include "Host.h"

#include "Access.h"
#include "Engine.h"
#include "HostNames.h"
#include "Modifier.h"
#include "PlugPath.h"
#include "ThreadPool.h"
#include "UserUnits.h"

namespace hx {

Result Result::failure(std::string why) {
    Result result;
    result.ok = false;
    result.error = std::move(why);
    return result;
}

Result toResult(const Error& error) { return error ? Result::failure(error.message()) : Result(); }

Error findNode(const std::string& name, Node*& node) {
    node = scene().find(name);
    return node ? Error() : Error(MStatus::kNotFound, "no node named '" + name + "'");
}

Error findPlug(const std::string& text, PlugRef& plug) {
    const size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == text.size())
        return Error::invalid("'" + text + "' is not a plug name (node.attribute)");
    Node* node = nullptr;
    if (Error error = findNode(text.substr(0, dot), node)) return error;
    return resolvePlugPath(node, text.substr(dot + 1), false, plug);
}

Host::Host() : mEngine(std::make_unique<Engine>()) {}
Host::~Host() = default;

Host& Host::instance() {
    // Never destroyed: plug-ins' static handles may still release objects at exit.
    static Host* host = new Host();
    return *host;
}

Result Host::done(Result result) {
    mLastError = result.error;
    return result;
}

void Host::setThreadCount(unsigned int count) { ThreadPool::get().setSize(count); }

unsigned int Host::threadCount() const { return ThreadPool::get().size(); }

void Host::reset() {
    mEngine->reset();
    mLastError.clear();
}

Result Host::loadPlugin(const std::string& path) {
    std::vector<std::string> warnings;
    Result result = toResult(mEngine->loadPlugin(path, &warnings));
    result.warnings = std::move(warnings);
    return done(result);
}

Result Host::unloadPlugin(const std::string& name) { return done(toResult(mEngine->unloadPlugin(name))); }

std::vector<PluginInfo> Host::plugins() const {
    std::vector<PluginInfo> list;
    for (const auto& plugin : mEngine->plugins()) {
        PluginInfo info{plugin->name(), plugin->path(), plugin->vendor(), plugin->version(), plugin->apiVersion(), {}};
        for (unsigned int id : plugin->typeIds())
            if (auto type = mEngine->findType(id)) info.nodeTypes.push_back(type->name());
        list.push_back(info);
    }
    return list;
}

std::vector<std::string> Host::nodeTypes() const {
    std::vector<std::string> names;
    for (const auto& type : mEngine->types()) names.push_back(type->name());
    return names;
}

namespace {

std::string numericTypeName(MFnNumericData::Type type) {
    static const char* names[] = {"invalid", "bool", "byte",  "char",   "short",  "short2", "short3",  "int",
                                  "int2",    "int3", "float", "float2", "float3", "double", "double2", "double3"};
    return type >= 0 && type < 16 ? names[type] : "numeric";
}

std::string valueTypeName(const Attribute& a) {
    switch (a.kind()) {
    case AttrKind::Numeric:
        if (a.isEnum()) return "enum";
        switch (a.unit()) {
        case Unit::Distance: return "distance";
        case Unit::Angle: return "angle";
        case Unit::Time: return "time";
        case Unit::Scalar: break;
        }
        return numericTypeName(a.numericType());
    case AttrKind::Typed:
        switch (a.dataType()) {
        case MFnData::kVectorArray: return "vectorArray";
        case MFnData::kMesh: return "mesh";
        case MFnData::kString: return "string";
        case MFnData::kPointArray: return "pointArray";
        case MFnData::kDoubleArray: return "doubleArray";
        case MFnData::kIntArray: return "intArray";
        case MFnData::kMatrix: return "matrix";
        default: return "data";
        }
    case AttrKind::Matrix: return a.matrixType() == MFnMatrixAttribute::kFloat ? "floatMatrix" : "matrix";
    case AttrKind::Compound:
        if (a.numericType() != MFnNumericData::kInvalid) return numericTypeName(a.numericType());
        return a.numericWidth() == 3 ? "double3" : "compound";
    case AttrKind::Message: return "message";
    }
    return "unknown";
}

const char* kindName(AttrKind kind) {
    switch (kind) {
    case AttrKind::Numeric: return "numeric";
    case AttrKind::Typed: return "typed";
    case AttrKind::Matrix: return "matrix";
    case AttrKind::Compound: return "compound";
    case AttrKind::Message: return "message";
    }
    return "unknown";
}

AttributeInfo describe(const NodeType& type, const Attribute& a, bool inherited) {
    AttributeInfo info;
    info.longName = a.name();
    info.shortName = a.shortName();
    info.kind = kindName(a.kind());
    info.valueType = valueTypeName(a);
    info.numericType = a.numericType();
    info.dataType = a.dataType();
    // Numbers as Host shows them: angles in degrees.
    const double shown = userUnitsPer(a.unit());
    if (a.kind() == AttrKind::Numeric)
        for (int i = 0; i < componentCount(a.numericType()); ++i)
            info.defaultValue.push_back(a.defaultValue(i) * shown);
    if (a.hasLimit(Limit::Min)) info.min = a.limit(Limit::Min) * shown;
    if (a.hasLimit(Limit::Max)) info.max = a.limit(Limit::Max) * shown;
    info.keyable = a.flag(Flag::Keyable);
    info.storable = a.flag(Flag::Storable);
    info.readable = a.isReadable();
    info.writable = a.isWritable();
    info.connectable = a.isConnectable();
    info.hidden = a.flag(Flag::Hidden);
    info.array = a.isArray();
    info.usedAsColor = a.flag(Flag::UsedAsColor);
    info.inherited = inherited;
    info.enumFields = a.enumFields();
    if (a.parent()) info.parent = a.parent()->name();
    for (const auto& child : a.children()) info.children.push_back(child->name());
    for (const Attribute* target : type.affects(&a)) info.affects.push_back(target->name());
    return info;
}

}  // namespace

std::optional<NodeTypeInfo> Host::nodeType(const std::string& typeName) const {
    auto type = mEngine->findType(typeName);
    if (!type) return std::nullopt;
    NodeTypeInfo info{type->name(), type->id(), type->pxType(), type->plugin(), {}};
    const auto& attributes = type->attributes();
    for (size_t i = 0; i < attributes.size(); ++i)
        info.attributes.push_back(describe(*type, *attributes[i], i < type->inheritedCount()));
    return info;
}

Result Host::createNode(const std::string& typeName, const std::string& name, const std::string& parentName,
                        std::string* created) {
    auto type = mEngine->findType(typeName);
    if (!type) return done(Result::failure("unknown node type '" + typeName + "'"));
    if (!name.empty() && !Scene::isValidName(name))
        return done(Result::failure("'" + name + "' is not a valid node name"));
    if (!name.empty() && scene().find(name)) return done(Result::failure("a node named '" + name + "' already exists"));
    Node* parent = nullptr;
    if (!parentName.empty()) {
        if (Error error = findNode(parentName, parent)) return done(toResult(error));
        if (!type->isDag())
            return done(Result::failure("'" + typeName + "' nodes are not DAG nodes and take no parent"));
        if (parent->type()->base() != BaseKind::Transform)
            return done(Result::failure("'" + parentName + "' is not a transform and cannot be a parent"));
    }
    ModifierState edits(scene());
    if (type->isShape() && !parent) {
        Ref<Node> transform;
        if (Error error = scene().instantiate(mEngine->findType("transform"), transform)) return done(toResult(error));
        edits.add(Edit::create(transform));
        parent = transform.get();
    }
    Ref<Node> node;
    if (Error error = scene().instantiate(type, node)) return done(toResult(error));
    edits.add(Edit::create(node, parent, name));
    if (Error error = edits.apply()) return done(toResult(error));
    if (created) *created = node->name();
    return done(Result());
}

Result Host::deleteNode(const std::string& name) {
    Node* node = nullptr;
    if (Error error = findNode(name, node)) return done(toResult(error));
    ModifierState edits(scene());
    edits.add(Edit::remove(node));
    return done(toResult(edits.apply()));
}

Result Host::rename(const std::string& name, const std::string& newName) {
    Node* node = nullptr;
    if (Error error = findNode(name, node)) return done(toResult(error));
    return done(toResult(scene().rename(node, newName)));
}

bool Host::exists(const std::string& name) const { return scene().find(name) != nullptr; }

std::vector<std::string> Host::listNodes(const std::string& type) const {
    std::vector<std::string> names;
    for (const auto& node : scene().nodes())
        if ((type.empty() || node->type()->name() == type) && !scene().isDefault(node.get()))
            names.push_back(node->name());
    return names;
}

std::string Host::typeOf(const std::string& name) const {
    Node* node = scene().find(name);
    return node ? node->type()->name() : std::string();
}

std::string Host::parentOf(const std::string& name) const {
    Node* node = scene().find(name);
    return node && node->parent() ? node->parent()->name() : std::string();
}

std::vector<std::string> Host::childrenOf(const std::string& name) const {
    std::vector<std::string> names;
    if (Node* node = scene().find(name))
        for (Node* child : node->children()) names.push_back(child->name());
    return names;
}

MObject Host::object(const std::string& name) const { return Access::wrap(scene().find(name)); }

void Host::setViewportSize(int width, int height) { mEngine->setViewportSize(width, height); }

}  // namespace hx
