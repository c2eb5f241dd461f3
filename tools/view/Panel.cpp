#include "Panel.h"

#include "KeyedNumbers.h"
#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace hx {
namespace {

const AttributeInfo* findAttribute(const NodeTypeInfo& type, const std::string& name)
{
    for (const AttributeInfo& a : type.attributes)
        if (a.longName == name) return &a;
    return nullptr;
}

bool isNumber(const AttributeInfo& a)
{
    return a.kind == "numeric" && a.defaultValue.size() == 1;
}

PanelField fieldOf(const std::string& node, const AttributeInfo& a, const std::string& label)
{
    PanelField field;
    field.plug = node + "." + a.longName;
    field.label = label;
    field.kind = a.valueType == "bool"    ? PanelField::Kind::Boolean
                 : isIntegerAttribute(a)  ? PanelField::Kind::Integer
                 : a.valueType == "float" ? PanelField::Kind::Float
                                          : PanelField::Kind::Double;
    field.min = a.min;
    field.max = a.max;
    // Small integer types hold no more than their bytes allow, limits or not.
    const std::string& t = a.valueType;
    const std::pair<double, double> range = t == "bool"                     ? std::pair{0.0, 1.0}
                                            : t == "byte"                   ? std::pair{0.0, 255.0}
                                            : t == "char"                   ? std::pair{-128.0, 127.0}
                                            : t.compare(0, 5, "short") == 0 ? std::pair{-32768.0, 32767.0}
                                                                            : std::pair{-2147483648.0, 2147483647.0};
    if (field.kind == PanelField::Kind::Integer || field.kind == PanelField::Kind::Boolean) {
        field.min = std::max(field.min.value_or(range.first), range.first);
        field.max = std::min(field.max.value_or(range.second), range.second);
        if (!a.min && range.first == -2147483648.0) field.min.reset();
        if (!a.max && range.second == 2147483647.0) field.max.reset();
    }
    field.defaultValue = a.defaultValue.empty() ? 0.0 : a.defaultValue[0];
    field.angle = a.valueType == "angle" || a.valueType == "doubleAngle" ||
                  (a.parent == "rotate" && a.longName.compare(0, 6, "rotate") == 0);
    return field;
}

std::string labelOf(const AttributeInfo& parent, const AttributeInfo& child)
{
    // translateX under translate: "X"; boundingBoxMinX under boundingBoxMin: "X".
    if (child.longName.size() > parent.longName.size() &&
        child.longName.compare(0, parent.longName.size(), parent.longName) == 0)
        return child.longName.substr(parent.longName.size());
    return child.longName;
}

PanelRow rowOf(const Host& host, const std::string& node, const NodeTypeInfo& type, const AttributeInfo& a,
               const std::set<std::string>& keyedPlugs)
{
    PanelRow row;
    row.attribute = a.longName;
    row.plug = node + "." + a.longName;
    row.inherited = a.inherited;
    if (a.array) {
        row.state = PanelRow::State::NotANumber;
        row.note = "an array of elements (" + (a.valueType.empty() ? a.kind : a.valueType) + ")";
        return row;
    }
    if (isNumber(a)) {
        row.fields.push_back(fieldOf(node, a, ""));
    } else if (a.kind == "compound") {
        std::vector<const AttributeInfo*> children;
        for (const std::string& name : a.children)
            if (const AttributeInfo* c = findAttribute(type, name)) children.push_back(c);
        const bool allNumbers =
            !children.empty() && std::all_of(children.begin(), children.end(), [](auto* c) { return isNumber(*c); });
        if (allNumbers) {
            for (const AttributeInfo* c : children) row.fields.push_back(fieldOf(node, *c, labelOf(a, *c)));
        } else {
            for (const AttributeInfo* c : children)
                if (c->writable && !c->hidden) row.rows.push_back(rowOf(host, node, type, *c, keyedPlugs));
            if (row.rows.empty()) {
                row.state = PanelRow::State::NotANumber;
                row.note = "a compound without numbers";
            }
        }
    } else {
        row.state = PanelRow::State::NotANumber;
        row.note = a.kind == "numeric" ? a.valueType : a.valueType.empty() ? a.kind : a.valueType;
    }

    // What drives it decides over what it is: a connected plug shows its source.
    const std::string source = host.sourceOf(row.plug);
    if (!source.empty()) {
        row.state = PanelRow::State::Driven;
        row.note = "from " + source;
    } else if (!row.fields.empty()) {
        std::vector<std::string> drivenBy;
        for (const PanelField& f : row.fields) {
            const std::string childSource = host.sourceOf(f.plug);
            if (!childSource.empty()) drivenBy.push_back(childSource);
        }
        if (!drivenBy.empty()) {
            row.state = PanelRow::State::Driven;
            row.note = "from " + drivenBy.front() + (drivenBy.size() > 1 ? ", ..." : "");
        } else if (std::any_of(row.fields.begin(), row.fields.end(),
                               [&](const PanelField& f) { return keyedPlugs.count(f.plug) > 0; })) {
            row.state = PanelRow::State::Keyed;
            row.note = "keyed";
        }
    }
    return row;
}

void collectPlugs(const std::vector<PanelRow>& rows, std::vector<std::string>& plugs)
{
    for (const PanelRow& row : rows) {
        for (const PanelField& f : row.fields) plugs.push_back(f.plug);
        collectPlugs(row.rows, plugs);
    }
}

std::string floatText(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace

std::vector<PanelSection> buildPanel(const Host& host, const std::vector<std::string>& nodes,
                                     const std::set<std::string>& keyedPlugs)
{
    std::vector<PanelSection> panel;
    for (const std::string& node : nodes) {
        if (!host.exists(node)) continue;
        PanelSection section{node, host.typeOf(node), {}};
        const std::optional<NodeTypeInfo> type = host.nodeType(section.type);
        if (!type) continue;
        // The type's own attributes first, then the inherited ones, each in registry order.
        for (const bool inherited : {false, true})
            for (const AttributeInfo& a : type->attributes)
                if (a.inherited == inherited && a.writable && !a.hidden && a.parent.empty())
                    section.rows.push_back(rowOf(host, node, *type, a, keyedPlugs));
        panel.push_back(std::move(section));
    }
    return panel;
}

std::vector<std::string> panelPlugs(const std::vector<PanelSection>& panel)
{
    std::vector<std::string> plugs;
    for (const PanelSection& section : panel) collectPlugs(section.rows, plugs);
    return plugs;
}

PanelEdit editOf(const PanelField& field, double value)
{
    if (!std::isfinite(value)) value = field.defaultValue;
    if (field.min) value = std::max(value, *field.min);
    if (field.max) value = std::min(value, *field.max);
    PanelEdit edit;
    edit.plug = field.plug;
    std::string text;
    switch (field.kind) {
    case PanelField::Kind::Boolean:
        value = value >= 0.5 ? 1.0 : 0.0;
        text = value ? "1" : "0";
        break;
    case PanelField::Kind::Integer:
        value = std::clamp(std::round(value), -2147483648.0, 2147483647.0);
        text = formatNumber(value);
        break;
    case PanelField::Kind::Float:
        // What the attribute will hold, and the shortest text that gives it back.
        value = std::clamp(value, -3.4028234663852886e38, 3.4028234663852886e38);
        value = double(float(value));
        text = floatText(float(value));
        break;
    case PanelField::Kind::Double: text = formatNumber(value); break;
    }
    edit.value = value;
    edit.setting = field.plug + "=" + text;
    return edit;
}

std::string limitsText(const PanelField& field)
{
    if (!field.min && !field.max) return "";
    return (field.min ? formatNumber(*field.min) : "") + ".." + (field.max ? formatNumber(*field.max) : "");
}

double dragSpeed(const PanelField& field, double value)
{
    if (field.kind == PanelField::Kind::Integer || field.kind == PanelField::Kind::Boolean) return 0.2;
    if (field.angle) return 1.0;
    return std::max(0.01, std::abs(value) * 0.01);
}

} // namespace hx
