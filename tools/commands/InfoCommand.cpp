#include "InfoCommand.h"

#include "HostSession.h"
#include "PluginFile.h"
#include "Suggest.h"
#include "ToolError.h"
#include "ValueParse.h"

#include <engine/Host.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace hx {
namespace {

const char* kindName(MPxNode::Type kind)
{
    switch (kind) {
    case MPxNode::kLocatorNode: return "locator";
    case MPxNode::kDeformerNode: return "deformer";
    case MPxNode::kSurfaceShape: return "shape";
    case MPxNode::kTransformNode: return "transform";
    default: return "dependency node";
    }
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string defaultText(const AttributeInfo& a)
{
    if (a.defaultValue.empty()) return "-";
    std::string text;
    for (std::size_t i = 0; i < a.defaultValue.size(); ++i) text += (i ? "," : "") + number(a.defaultValue[i]);
    return text;
}

// k keyable, s storable, r readable, w writable, c connectable, h hidden, a array.
std::string flagText(const AttributeInfo& a)
{
    std::string flags = "-------";
    const bool on[] = {a.keyable, a.storable, a.readable, a.writable, a.connectable, a.hidden, a.array};
    for (int i = 0; i < 7; ++i)
        if (on[i]) flags[i] = "ksrwcha"[i];
    return flags;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "-" : text;
}

void printTable(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], row[c].size());
        }
    for (const auto& row : rows) {
        std::string line = " ";
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += " " + row[c];
            if (c + 1 < row.size()) line += std::string(widths[c] - row[c].size(), ' ');
        }
        std::cout << line << "\n";
    }
}

void listTypes(const Host& host)
{
    std::vector<std::vector<std::string>> rows = {{"TYPE", "KIND", "FROM"}};
    for (const std::string& name : host.nodeTypes()) {
        const std::optional<NodeTypeInfo> type = host.nodeType(name);
        if (!type) continue;
        rows.push_back(
            {type->name, kindName(type->kind), type->plugin.empty() ? "the host" : "plug-in " + type->plugin});
    }
    std::cout << "Node types:\n";
    printTable(rows);
    std::cout << "hxnoise info TYPE lists a type's attributes.\n";
}

// How deep an attribute sits among compounds: children are indented under their parent.
std::size_t depthOf(const NodeTypeInfo& type, const AttributeInfo& attribute)
{
    std::size_t depth = 0;
    for (std::string parent = attribute.parent; !parent.empty() && depth < type.attributes.size(); ++depth) {
        const auto found = std::find_if(type.attributes.begin(), type.attributes.end(),
                                        [&](const AttributeInfo& a) { return a.longName == parent; });
        parent = found == type.attributes.end() ? std::string() : found->parent;
    }
    return depth;
}

void describeType(const NodeTypeInfo& type)
{
    char id[16];
    std::snprintf(id, sizeof id, "0x%x", type.id);
    std::cout << type.name << ": " << kindName(type.kind) << ", type id " << id << ", from "
              << (type.plugin.empty() ? std::string("the host") : "plug-in " + type.plugin) << "\n";

    for (const bool inherited : {true, false}) {
        std::vector<std::vector<std::string>> rows = {
            {"LONG NAME", "SHORT", "TYPE", "DEFAULT", "MIN", "MAX", "FLAGS", "AFFECTS"}};
        for (const AttributeInfo& a : type.attributes) {
            if (a.inherited != inherited) continue;
            rows.push_back({std::string(2 * depthOf(type, a), ' ') + a.longName, a.shortName,
                            a.kind == "numeric" || a.valueType == a.kind ? a.valueType : a.kind + " " + a.valueType,
                            defaultText(a), a.min ? number(*a.min) : "-", a.max ? number(*a.max) : "-", flagText(a),
                            joined(a.affects)});
        }
        if (rows.size() == 1) continue;
        std::cout << "\n" << (inherited ? "Inherited attributes:" : type.name + "'s own attributes:") << "\n";
        printTable(rows);
    }
    std::cout << "\nFLAGS: k keyable, s storable, r readable, w writable, c connectable, h hidden, a array.\n"
                 "Children of a compound are indented under it; --set takes the compound (a comma list) or a child.\n";
}

} // namespace

int runInfo(const InfoRequest& request)
{
    Host& host = Host::instance();
    HostSession session(host);
    const std::string plugin = locatePlugin(request.plugin);
    if (const Result loaded = host.loadPlugin(plugin); !loaded) throw ToolError(loaded.error);

    if (request.type.empty()) {
        listTypes(host);
    } else {
        const std::optional<NodeTypeInfo> type = host.nodeType(request.type);
        if (!type)
            throw UsageError("unknown node type '" + request.type + "'" +
                             didYouMean(closestNames(request.type, host.nodeTypes())) +
                             "; hxnoise info lists the types");
        describeType(*type);
    }
    return 0;
}

} // namespace hx
