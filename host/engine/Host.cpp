#include "Host.h"

#include "Access.h"
#include "Engine.h"
#include "HostNames.h"
#include "Modifier.h"
#include "PlugPath.h"
#include "ThreadPool.h"

namespace hx {

Result Result::failure(std::string why) {
    Result result;
    result.ok = false;
    result.error = std::move(why);
    return result;
}

Node* findNode(const std::string& name, std::string& error) {
    Node* node = Engine::get().scene().find(name);
    if (!node) error = "no node named '" + name + "'";
    return node;
}

bool findPlug(const std::string& text, PlugRef& plug, std::string& error) {
    const size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == text.size()) {
        error = "'" + text + "' is not a plug name (node.attribute)";
        return false;
    }
    Node* node = findNode(text.substr(0, dot), error);
    return node && resolvePlugPath(node, text.substr(dot + 1), plug, error, false);
}

Host& Host::instance() {
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
    Engine::get().reset();
    mLastError.clear();
}

Result Host::loadPlugin(const std::string& path) {
    std::string error;
    std::vector<std::string> warnings;
    Result result = Engine::get().loadPlugin(path, error, &warnings) ? Result() : Result::failure(error);
    result.warnings = std::move(warnings);
    return done(result);
}

Result Host::unloadPlugin(const std::string& name) {
    std::string error;
    return done(Engine::get().unloadPlugin(name, error) ? Result() : Result::failure(error));
}

std::vector<PluginInfo> Host::plugins() const {
    std::vector<PluginInfo> list;
    for (const auto& plugin : Engine::get().plugins()) {
        PluginInfo info{plugin->mName, plugin->mPath, plugin->mVendor, plugin->mVersion, plugin->mApiVersion, {}};
        for (unsigned int id : plugin->mTypeIds)
            if (auto type = Engine::get().findType(id)) info.nodeTypes.push_back(type->mName);
        list.push_back(info);
    }
    return list;
}

std::vector<std::string> Host::nodeTypes() const {
    std::vector<std::string> names;
    for (const auto& type : Engine::get().types()) names.push_back(type->mName);
    return names;
}

namespace {

std::string valueTypeName(const Attribute& a) {
    switch (a.mKind) {
    case AttrKind::Numeric: {
        static const char* names[] = {"invalid", "bool", "byte", "char", "short", "short2", "short3", "int",
                                      "int2",    "int3", "float", "float2", "float3", "double", "double2", "double3"};
        return a.mNumericType >= 0 && a.mNumericType < 16 ? names[a.mNumericType] : "numeric";
    }
    case AttrKind::Typed:
        switch (a.mDataType) {
        case MFnData::kVectorArray: return "vectorArray";
        case MFnData::kMesh: return "mesh";
        case MFnData::kString: return "string";
        case MFnData::kPointArray: return "pointArray";
        case MFnData::kDoubleArray: return "doubleArray";
        case MFnData::kIntArray: return "intArray";
        default: return "data";
        }
    case AttrKind::Matrix: return a.mMatrixType == MFnMatrixAttribute::kFloat ? "floatMatrix" : "matrix";
    case AttrKind::Compound: return a.numericWidth() == 3 ? "double3" : "compound";
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

}  // namespace

std::optional<NodeTypeInfo> Host::nodeType(const std::string& typeName) const {
    auto type = Engine::get().findType(typeName);
    if (!type) return std::nullopt;
    NodeTypeInfo info{type->mName, type->mId, type->mPxType, type->mPlugin, {}};
    for (size_t i = 0; i < type->mAttributes.size(); ++i) {
        const Attribute& a = *type->mAttributes[i];
        AttributeInfo ai;
        ai.longName = a.mName;
        ai.shortName = a.mShortName;
        ai.kind = kindName(a.mKind);
        ai.valueType = valueTypeName(a);
        ai.numericType = a.mNumericType;
        ai.dataType = a.mDataType;
        if (a.mKind == AttrKind::Numeric)
            ai.defaultValue.assign(a.mDefault, a.mDefault + componentCount(a.mNumericType));
        if (a.mHasMin) ai.min = a.mMin[0];
        if (a.mHasMax) ai.max = a.mMax[0];
        ai.keyable = a.mKeyable;
        ai.storable = a.mStorable;
        ai.readable = a.mReadable;
        ai.writable = a.mWritable;
        ai.connectable = a.mConnectable;
        ai.hidden = a.mHidden;
        ai.array = a.mArray;
        ai.inherited = i < type->mInheritedCount;
        if (a.mParent) ai.parent = a.mParent->mName;
        for (const auto& child : a.mChildren) ai.children.push_back(child->mName);
        for (const Attribute* target : type->affects(&a)) ai.affects.push_back(target->mName);
        info.attributes.push_back(ai);
    }
    return info;
}

Result Host::createNode(const std::string& typeName, const std::string& name, const std::string& parentName,
                        std::string* created) {
    Engine& engine = Engine::get();
    auto type = engine.findType(typeName);
    if (!type) return done(Result::failure("unknown node type '" + typeName + "'"));
    if (!name.empty() && !Scene::isValidName(name))
        return done(Result::failure("'" + name + "' is not a valid node name"));
    if (!name.empty() && engine.scene().find(name))
        return done(Result::failure("a node named '" + name + "' already exists"));
    Node* parent = nullptr;
    std::string error;
    if (!parentName.empty()) {
        parent = findNode(parentName, error);
        if (!parent) return done(Result::failure(error));
        if (!type->isDag()) return done(Result::failure("'" + typeName + "' nodes are not DAG nodes and take no parent"));
        if (parent->mType->mBase != BaseKind::Transform)
            return done(Result::failure("'" + parentName + "' is not a transform and cannot be a parent"));
    }
    ModifierState edits;
    if (type->isShape() && !parent) {
        Ref<Node> transform = engine.scene().instantiate(engine.findType("transform"), error);
        if (!transform) return done(Result::failure(error));
        edits.mEdits.push_back(Edit{Edit::Create});
        edits.mEdits.back().mNode = transform;
        parent = transform.get();
    }
    Ref<Node> node = engine.scene().instantiate(type, error);
    if (!node) return done(Result::failure(error));
    Edit create{Edit::Create};
    create.mNode = node;
    create.mParent = Ref<Node>(parent);
    create.mName = name;
    edits.mEdits.push_back(create);
    if (!edits.apply(error)) return done(Result::failure(error));
    if (created) *created = node->mName;
    return done(Result());
}

Result Host::deleteNode(const std::string& name) {
    std::string error;
    Node* node = findNode(name, error);
    if (!node) return done(Result::failure(error));
    ModifierState edits;
    edits.mEdits.push_back(Edit{Edit::Delete});
    edits.mEdits.back().mNode = Ref<Node>(node);
    return done(edits.apply(error) ? Result() : Result::failure(error));
}

Result Host::rename(const std::string& name, const std::string& newName) {
    std::string error;
    Node* node = findNode(name, error);
    if (!node || !Engine::get().scene().rename(node, newName, error)) return done(Result::failure(error));
    return done(Result());
}

bool Host::exists(const std::string& name) const { return Engine::get().scene().find(name) != nullptr; }

std::vector<std::string> Host::listNodes(const std::string& type) const {
    std::vector<std::string> names;
    for (const auto& node : Engine::get().scene().nodes())
        if (type.empty() || node->mType->mName == type) names.push_back(node->mName);
    return names;
}

std::string Host::typeOf(const std::string& name) const {
    Node* node = Engine::get().scene().find(name);
    return node ? node->mType->mName : std::string();
}

std::string Host::parentOf(const std::string& name) const {
    Node* node = Engine::get().scene().find(name);
    return node && node->mParent ? node->mParent->mName : std::string();
}

std::vector<std::string> Host::childrenOf(const std::string& name) const {
    std::vector<std::string> names;
    if (Node* node = Engine::get().scene().find(name))
        for (Node* child : node->mChildren) names.push_back(child->mName);
    return names;
}

MObject Host::object(const std::string& name) const { return Access::wrap(Engine::get().scene().find(name)); }

void Host::setViewportSize(int width, int height) {
    Engine::get().mPortWidth = width > 0 ? width : 1;
    Engine::get().mPortHeight = height > 0 ? height : 1;
}

}  // namespace hx
