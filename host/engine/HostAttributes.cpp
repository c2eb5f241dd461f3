// Host: reading and setting attribute values, connecting plugs.
#include "Access.h"
#include "Data.h"
#include "Host.h"
#include "HostNames.h"
#include "PlugEdit.h"
#include "PlugPath.h"
#include "UserUnits.h"

#include <algorithm>
#include <cmath>

namespace hx {

namespace {

// The user-unit factor of each number a plug's value has: one per component of a numeric
// attribute, one per child of a compound of numbers.
std::vector<double> unitFactors(const Attribute* a) {
    std::vector<double> factors;
    if (a->kind() == AttrKind::Numeric)
        factors.assign(static_cast<size_t>(componentCount(a->numericType())), userUnitsPer(a->unit()));
    else
        for (const auto& child : a->children()) factors.push_back(userUnitsPer(child->unit()));
    return factors;
}

}  // namespace

Result Host::setAttr(const std::string& text, const std::vector<double>& values) {
    PlugRef plug;
    if (Error error = findPlug(text, plug)) return done(toResult(error));
    const Attribute* a = plug.mAttribute;
    for (double v : values)
        if (!std::isfinite(v)) return done(Result::failure(text + ": values must be finite numbers"));
    Result result;
    Error error;
    if (a->kind() == AttrKind::Numeric || a->numericWidth() > 0) {
        std::vector<double> internal = values;
        const std::vector<double> factors = unitFactors(a);
        for (size_t i = 0; i < internal.size() && i < factors.size(); ++i) internal[i] /= factors[i];
        error = setNumbers(scene(), plug, internal, &result.warnings);
    } else if (a->kind() == AttrKind::Matrix) {
        if (values.size() != 16) {
            error = Error::invalid(text + " takes 16 values (a 4x4 matrix, row by row), got " +
                                   std::to_string(values.size()));
        } else {
            MMatrix m;
            for (int i = 0; i < 16; ++i) m.matrix[i / 4][i % 4] = values[i];
            error = setMatrix(scene(), plug, m);
        }
    } else if (a->kind() == AttrKind::Typed && a->dataType() == MFnData::kVectorArray) {
        if (values.size() % 3 != 0) {
            error = Error::invalid(text + " takes 3 values per vector, got " + std::to_string(values.size()));
        } else {
            MVectorArray array;
            for (size_t i = 0; i < values.size(); i += 3)
                array.append(MVector(values[i], values[i + 1], values[i + 2]));
            error = setData(scene(), plug, Access::wrap(new VectorArrayData(array)));
        }
    } else {
        error = Error::invalid(text + " cannot be set from numbers");
    }
    if (error) return done(toResult(error));
    return done(result);
}

Result Host::getAttr(const std::string& text, std::vector<double>& values) {
    PlugRef plug;
    if (Error error = findPlug(text, plug)) return done(toResult(error));
    const Attribute* a = plug.mAttribute;
    EvaluationFailures failures;
    const Value& value = scene().evaluate(plug).value();
    values.clear();
    if (a->kind() == AttrKind::Numeric) {
        for (int i = 0; i < componentCount(a->numericType()); ++i)
            values.push_back(numericComponent(value, a->numericType(), i));
    } else if (a->numericWidth() > 0) {
        for (const auto& child : a->children()) {
            const Value& c = scene().evaluate({plug.mNode, child.get(), plug.mPath}).value();
            values.push_back(numericComponent(c, child->numericType(), 0));
        }
    } else if (a->kind() == AttrKind::Matrix) {
        for (int i = 0; i < 16; ++i) values.push_back(value.mMatrix.matrix[i / 4][i % 4]);
    } else if (a->kind() == AttrKind::Typed && a->dataType() == MFnData::kVectorArray) {
        if (auto* data = Access::as<VectorArrayData>(value.mData))
            for (unsigned int i = 0; i < data->value().length(); ++i)
                values.insert(values.end(), {data->value()[i].x, data->value()[i].y, data->value()[i].z});
    } else {
        return done(Result::failure(text + " does not hold numbers" +
                                    (a->dataType() == MFnData::kMesh ? " (read meshes with meshPoints)" : "")));
    }
    const std::vector<double> factors = unitFactors(a);
    for (size_t i = 0; i < values.size() && i < factors.size(); ++i) values[i] *= factors[i];
    return done(failures(Result()));
}

bool Host::isDirty(const std::string& text) const {
    PlugRef plug;
    if (Error error = findPlug(text, plug)) return false;
    if (plug.mAttribute->kind() == AttrKind::Compound) {
        for (const auto& child : plug.mAttribute->children())
            if (Cell* c = plug.mNode->findCell(child.get(), plug.mPath); c && c->isDirty()) return true;
        return false;
    }
    Cell* cell = plug.mNode->findCell(plug);
    return cell ? cell->isDirty() : plug.mNode->type()->isComputed(plug.mAttribute);
}

namespace {

// The two plugs a connection names, or why they cannot be found.
Error findPlugs(const std::string& source, const std::string& destination, PlugRef& s, PlugRef& d) {
    if (Error error = findPlug(source, s)) return error;
    return findPlug(destination, d);
}

}  // namespace

Result Host::connect(const std::string& source, const std::string& destination) {
    PlugRef s, d;
    Error error = findPlugs(source, destination, s, d);
    return done(toResult(error ? error : scene().connect(s, d)));
}

Result Host::disconnect(const std::string& source, const std::string& destination) {
    PlugRef s, d;
    Error error = findPlugs(source, destination, s, d);
    return done(toResult(error ? error : scene().disconnect(s, d)));
}

std::string Host::sourceOf(const std::string& text) const {
    PlugRef plug;
    if (Error error = findPlug(text, plug)) return std::string();
    Cell* cell = plug.mNode->findCell(plug);
    return cell && cell->source() ? plugName(*cell->source()) : std::string();
}

std::vector<std::string> Host::destinationsOf(const std::string& text) const {
    std::vector<std::string> names;
    PlugRef plug;
    if (Error error = findPlug(text, plug)) return names;
    if (Cell* cell = plug.mNode->findCell(plug))
        for (const PlugRef& d : cell->destinations()) names.push_back(plugName(d));
    return names;
}

std::vector<std::pair<std::string, std::string>> Host::connectionsOf(const std::string& name) const {
    std::vector<std::pair<std::string, std::string>> connections;
    Node* node = nullptr;
    if (Error error = findNode(name, node)) return connections;
    // The cells are kept by attribute address; the type's own order is the one users see.
    const auto& attributes = node->type()->attributes();
    const auto rank = [&](const Attribute* a) {
        for (size_t i = 0; i < attributes.size(); ++i)
            if (attributes[i].get() == a) return i;
        return attributes.size();
    };
    std::vector<std::pair<PlugRef, const Cell*>> cells;
    node->forEachCell([&](const PlugRef& here, Cell& cell) {
        if (cell.source() || !cell.destinations().empty()) cells.emplace_back(here, &cell);
    });
    std::stable_sort(cells.begin(), cells.end(), [&](const auto& a, const auto& b) {
        const size_t ra = rank(a.first.mAttribute), rb = rank(b.first.mAttribute);
        return ra != rb ? ra < rb : a.first.mPath < b.first.mPath;
    });
    for (const auto& [plug, cell] : cells) {
        if (cell->source()) connections.emplace_back(plugName(*cell->source()), plugName(plug));
        // A connection between two plugs of this node is listed once, at its destination.
        for (const PlugRef& d : cell->destinations())
            if (d.mNode != node) connections.emplace_back(plugName(plug), plugName(d));
    }
    return connections;
}

}  // namespace hx
