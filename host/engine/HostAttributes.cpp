// Host: reading and setting attribute values, connecting plugs.
#include "Access.h"
#include "Data.h"
#include "Engine.h"
#include "Host.h"
#include "HostNames.h"
#include "PlugEdit.h"
#include "PlugPath.h"

#include <algorithm>
#include <cmath>

namespace hx {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

bool angular(const Attribute* a) {
    if (a->isAngle()) return true;
    for (const auto& child : a->mChildren)
        if (child->isAngle()) return true;
    return false;
}

}  // namespace

Result Host::setAttr(const std::string& text, const std::vector<double>& values) {
    PlugRef plug;
    std::string error;
    if (!findPlug(text, plug, error)) return done(Result::failure(error));
    const Attribute* a = plug.mAttribute;
    for (double v : values)
        if (!std::isfinite(v)) return done(Result::failure(text + ": values must be finite numbers"));
    Result result;
    bool ok = false;
    if (a->mKind == AttrKind::Numeric || a->numericWidth() > 0) {
        std::vector<double> converted = values;
        if (angular(a))
            for (double& v : converted) v /= kDegrees;
        ok = setNumbers(plug, converted, error, &result.warnings);
    } else if (a->mKind == AttrKind::Matrix) {
        if (values.size() != 16) {
            error = text + " takes 16 values (a 4x4 matrix, row by row), got " + std::to_string(values.size());
        } else {
            MMatrix m;
            for (int i = 0; i < 16; ++i) m.matrix[i / 4][i % 4] = values[i];
            ok = setMatrix(plug, m, error);
        }
    } else if (a->mKind == AttrKind::Typed && a->mDataType == MFnData::kVectorArray) {
        if (values.size() % 3 != 0) {
            error = text + " takes 3 values per vector, got " + std::to_string(values.size());
        } else {
            MVectorArray array;
            for (size_t i = 0; i < values.size(); i += 3) array.append(MVector(values[i], values[i + 1], values[i + 2]));
            ok = setData(plug, Access::wrap(new VectorArrayData(array)), error);
        }
    } else {
        error = text + " cannot be set from numbers";
    }
    if (!ok) return done(Result::failure(error));
    return done(result);
}

Result Host::getAttr(const std::string& text, std::vector<double>& values) {
    PlugRef plug;
    std::string error;
    if (!findPlug(text, plug, error)) return done(Result::failure(error));
    const Attribute* a = plug.mAttribute;
    EvaluationFailures failures;
    Cell& cell = Engine::get().scene().evaluate(plug);
    values.clear();
    if (a->mKind == AttrKind::Numeric) {
        for (int i = 0; i < componentCount(a->mNumericType); ++i)
            values.push_back(numericComponent(cell.mValue, a->mNumericType, i));
    } else if (a->numericWidth() > 0) {
        for (const auto& child : a->mChildren) {
            Cell& c = Engine::get().scene().evaluate({plug.mNode, child.get(), plug.mIndex});
            values.push_back(numericComponent(c.mValue, child->mNumericType, 0));
        }
    } else if (a->mKind == AttrKind::Matrix) {
        for (int i = 0; i < 16; ++i) values.push_back(cell.mValue.mMatrix.matrix[i / 4][i % 4]);
    } else if (a->mKind == AttrKind::Typed && a->mDataType == MFnData::kVectorArray) {
        if (auto* data = Access::as<VectorArrayData>(cell.mValue.mData))
            for (unsigned int i = 0; i < data->mArray.length(); ++i)
                values.insert(values.end(), {data->mArray[i].x, data->mArray[i].y, data->mArray[i].z});
    } else {
        return done(Result::failure(text + " does not hold numbers" +
                                    (a->mDataType == MFnData::kMesh ? " (read meshes with meshPoints)" : "")));
    }
    if (angular(a))
        for (double& v : values) v *= kDegrees;
    return done(failures(Result()));
}

bool Host::isDirty(const std::string& text) const {
    PlugRef plug;
    std::string error;
    if (!findPlug(text, plug, error)) return false;
    if (plug.mAttribute->mKind == AttrKind::Compound) {
        for (const auto& child : plug.mAttribute->mChildren)
            if (Cell* c = plug.mNode->findCell(child.get(), plug.mIndex); c && c->mDirty) return true;
        return false;
    }
    Cell* cell = plug.mNode->findCell(plug.mAttribute, plug.mIndex);
    return cell ? cell->mDirty : plug.mNode->mType->isComputed(plug.mAttribute);
}

Result Host::connect(const std::string& source, const std::string& destination) {
    PlugRef s, d;
    std::string error;
    if (!findPlug(source, s, error) || !findPlug(destination, d, error) ||
        !Engine::get().scene().connect(s, d, error))
        return done(Result::failure(error));
    return done(Result());
}

Result Host::disconnect(const std::string& source, const std::string& destination) {
    PlugRef s, d;
    std::string error;
    if (!findPlug(source, s, error) || !findPlug(destination, d, error) ||
        !Engine::get().scene().disconnect(s, d, error))
        return done(Result::failure(error));
    return done(Result());
}

std::string Host::sourceOf(const std::string& text) const {
    PlugRef plug;
    std::string error;
    if (!findPlug(text, plug, error)) return std::string();
    Cell* cell = plug.mNode->findCell(plug.mAttribute, plug.mIndex);
    return cell && cell->mSource ? plugName(*cell->mSource) : std::string();
}

std::vector<std::string> Host::destinationsOf(const std::string& text) const {
    std::vector<std::string> names;
    PlugRef plug;
    std::string error;
    if (!findPlug(text, plug, error)) return names;
    if (Cell* cell = plug.mNode->findCell(plug.mAttribute, plug.mIndex))
        for (const PlugRef& d : cell->mDestinations) names.push_back(plugName(d));
    return names;
}

std::vector<std::pair<std::string, std::string>> Host::connectionsOf(const std::string& name) const {
    std::vector<std::pair<std::string, std::string>> connections;
    Node* node = Engine::get().scene().find(name);
    if (!node) return connections;
    // The cells are kept by attribute address; the type's own order is the one users see.
    const auto& attributes = node->mType->mAttributes;
    const auto rank = [&](const Attribute* a) {
        for (size_t i = 0; i < attributes.size(); ++i)
            if (attributes[i].get() == a) return i;
        return attributes.size();
    };
    std::vector<std::pair<PlugRef, const Cell*>> cells;
    for (const auto& [key, cell] : node->mCells)
        if (cell.mSource || !cell.mDestinations.empty()) cells.push_back({PlugRef{node, key.first, key.second}, &cell});
    std::sort(cells.begin(), cells.end(), [&](const auto& a, const auto& b) {
        const size_t ra = rank(a.first.mAttribute), rb = rank(b.first.mAttribute);
        return ra != rb ? ra < rb : a.first.mIndex < b.first.mIndex;
    });
    for (const auto& [plug, cell] : cells) {
        if (cell->mSource) connections.emplace_back(plugName(*cell->mSource), plugName(plug));
        for (const PlugRef& d : cell->mDestinations) connections.emplace_back(plugName(plug), plugName(d));
    }
    return connections;
}

}  // namespace hx
