#include "PlugEdit.h"

#include "Access.h"
#include "Data.h"
#include "Engine.h"
#include "PlugPath.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace hx {

namespace {

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// The leaf numeric attributes a list of numbers goes to, in order.
std::vector<const Attribute*> numericTargets(const Attribute* a) {
    std::vector<const Attribute*> targets;
    if (a->mKind == AttrKind::Numeric) {
        targets.push_back(a);
    } else if (a->numericWidth() > 0) {
        for (const auto& child : a->mChildren) targets.push_back(child.get());
    }
    return targets;
}

void changed(const PlugRef& plug) {
    Engine::get().scene().propagateDirty(plug);
}

}  // namespace

bool checkSettable(const PlugRef& plug, std::string& error) {
    const Attribute* a = plug.mAttribute;
    if (!plug.mNode || !a || !plug.mNode->mType->has(a)) {
        error = "the plug does not exist";
        return false;
    }
    if (a->inArray() && plug.mIndex < 0) {
        error = plugName(plug) + " is a multi: set one element, as in " + a->arrayRoot()->mName + "[0]";
        return false;
    }
    if (!a->mWritable) {
        error = plugName(plug) + " is an output and cannot be set";
        return false;
    }
    std::vector<const Attribute*> leaves{a};
    if (a->mKind == AttrKind::Compound) {
        leaves.clear();
        for (const auto& child : a->mChildren) leaves.push_back(child.get());
    }
    for (const Attribute* leaf : leaves) {
        Cell* cell = plug.mNode->findCell(leaf, plug.mIndex);
        if (cell && cell->mSource) {
            error = plugName({plug.mNode, leaf, plug.mIndex}) + " is driven by " + plugName(*cell->mSource) +
                    " and cannot be set";
            return false;
        }
    }
    return true;
}

// A number the attribute's type cannot hold is refused rather than silently turned into an
// infinity (floats) or the type's limit (integers).
static bool fitsType(MFnNumericData::Type type, double v) {
    switch (type) {
    case MFnNumericData::kFloat:
    case MFnNumericData::k2Float:
    case MFnNumericData::k3Float:
        return !std::isfinite(v) || std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max());
    case MFnNumericData::kInt:
    case MFnNumericData::k2Int:
    case MFnNumericData::k3Int:
        return std::isfinite(v) && v >= static_cast<double>(std::numeric_limits<int>::min()) &&
               v <= static_cast<double>(std::numeric_limits<int>::max());
    case MFnNumericData::kShort:
    case MFnNumericData::k2Short:
    case MFnNumericData::k3Short:
        return std::isfinite(v) && v >= std::numeric_limits<short>::min() && v <= std::numeric_limits<short>::max();
    case MFnNumericData::kByte:
        return std::isfinite(v) && v >= 0.0 && v <= 255.0;
    case MFnNumericData::kChar:
        return std::isfinite(v) && v >= std::numeric_limits<char>::min() && v <= std::numeric_limits<char>::max();
    default:
        return true;
    }
}

static std::string typeLabel(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::kFloat:
    case MFnNumericData::k2Float:
    case MFnNumericData::k3Float: return "a float attribute";
    case MFnNumericData::kInt:
    case MFnNumericData::k2Int:
    case MFnNumericData::k3Int: return "an int attribute";
    case MFnNumericData::kShort:
    case MFnNumericData::k2Short:
    case MFnNumericData::k3Short: return "a short attribute";
    default: return "this attribute";
    }
}

bool setNumbers(const PlugRef& plug, const std::vector<double>& values, std::string& error,
                std::vector<std::string>* notes) {
    if (!checkSettable(plug, error)) return false;
    const Attribute* a = plug.mAttribute;
    const std::vector<const Attribute*> targets = numericTargets(a);
    if (targets.empty()) {
        error = plugName(plug) + " does not hold numbers";
        return false;
    }
    const bool perComponent = a->mKind == AttrKind::Numeric;
    const size_t expected = perComponent ? static_cast<size_t>(componentCount(a->mNumericType)) : targets.size();
    if (values.size() != expected) {
        error = plugName(plug) + " takes " + std::to_string(expected) + " value" + (expected == 1 ? "" : "s") +
                ", got " + std::to_string(values.size());
        return false;
    }
    for (double v : values)
        if (std::isnan(v)) {
            error = "NaN is not a value for " + plugName(plug);
            return false;
        }
    // Clamp and check every value first, so that a refused value changes nothing.
    std::vector<double> clamped(values);
    for (size_t i = 0; i < values.size(); ++i) {
        const Attribute* target = perComponent ? a : targets[i];
        const int component = perComponent ? static_cast<int>(i) : 0;
        double& v = clamped[i];
        const PlugRef where{plug.mNode, target, plug.mIndex};
        if (target->mHasMin && v < target->mMin[component]) {
            if (notes)
                notes->push_back(plugName(where) + ": " + number(v) + " is below the minimum " +
                                 number(target->mMin[component]) + "; set to the minimum");
            v = target->mMin[component];
        }
        if (target->mHasMax && v > target->mMax[component]) {
            if (notes)
                notes->push_back(plugName(where) + ": " + number(v) + " is above the maximum " +
                                 number(target->mMax[component]) + "; set to the maximum");
            v = target->mMax[component];
        }
        if (!fitsType(target->mNumericType, v)) {
            error = plugName(where) + ": " + number(v) + " is out of range for " + typeLabel(target->mNumericType);
            if (notes) notes->clear();
            return false;
        }
    }
    for (size_t i = 0; i < clamped.size(); ++i) {
        const Attribute* target = perComponent ? a : targets[i];
        const int component = perComponent ? static_cast<int>(i) : 0;
        Cell& cell = plug.mNode->cell(target, plug.mIndex);
        setNumericComponent(cell.mValue, target->mNumericType, component, clamped[i]);
        cell.mDirty = false;
    }
    for (const Attribute* target : targets) changed({plug.mNode, target, plug.mIndex});
    return true;
}

bool setMatrix(const PlugRef& plug, const MMatrix& matrix, std::string& error) {
    if (!checkSettable(plug, error)) return false;
    if (plug.mAttribute->mKind != AttrKind::Matrix) {
        error = plugName(plug) + " does not hold a matrix";
        return false;
    }
    Cell& cell = plug.mNode->cell(plug.mAttribute, plug.mIndex);
    cell.mValue.mMatrix = matrix;
    cell.mDirty = false;
    changed(plug);
    return true;
}

bool setData(const PlugRef& plug, const MObject& data, std::string& error) {
    if (!checkSettable(plug, error)) return false;
    const Attribute* a = plug.mAttribute;
    if (a->mKind != AttrKind::Typed) {
        error = plugName(plug) + " does not hold data";
        return false;
    }
    auto* d = Access::as<Data>(data);
    if (!data.isNull() && (!d || d->dataType() != a->mDataType)) {
        error = "type mismatch: the data does not fit " + plugName(plug);
        return false;
    }
    Cell& cell = plug.mNode->cell(a, plug.mIndex);
    cell.mValue.mData = data;
    cell.mDirty = false;
    changed(plug);
    return true;
}

}  // namespace hx
