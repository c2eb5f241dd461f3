#include "PlugEdit.h"

#include "Access.h"
#include "Data.h"
#include "PlugPath.h"
#include "Scene.h"

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
    if (a->kind() == AttrKind::Numeric) {
        targets.push_back(a);
    } else if (a->numericWidth() > 0) {
        for (const auto& child : a->children()) targets.push_back(child.get());
    }
    return targets;
}

// A number the attribute's type cannot hold is refused rather than silently turned into an
// infinity (floats) or the type's limit (integers).
bool fitsType(MFnNumericData::Type type, double v) {
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
    case MFnNumericData::kByte: return std::isfinite(v) && v >= 0.0 && v <= 255.0;
    case MFnNumericData::kChar:
        return std::isfinite(v) && v >= std::numeric_limits<char>::min() && v <= std::numeric_limits<char>::max();
    default: return true;
    }
}

std::string typeLabel(MFnNumericData::Type type) {
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

// The cell of a settable plug, cleaned: what it holds now is the value, not a stale one.
Value& settledValue(const PlugRef& plug) {
    Cell& cell = plug.mNode->cell(plug);
    cell.setDirty(false);
    return cell.value();
}

}  // namespace

Error checkSettable(const PlugRef& plug) {
    const Attribute* a = plug.mAttribute;
    if (!plug.mNode || !a || !plug.mNode->type()->has(a)) return Error::invalid("the plug does not exist");
    if (!plug.isComplete())
        return Error::invalid(plugName(plug) + " is a multi: set one element, as in " + a->arrayChain().back()->name() +
                              "[0]");
    if (!a->isWritable()) return Error::invalid(plugName(plug) + " is an output and cannot be set");
    std::vector<const Attribute*> leaves{a};
    if (a->kind() == AttrKind::Compound) {
        leaves.clear();
        for (const auto& child : a->children()) leaves.push_back(child.get());
    }
    for (const Attribute* leaf : leaves) {
        const PlugRef where{plug.mNode, leaf, plug.mPath};
        const Cell* cell = plug.mNode->findCell(where);
        if (cell && cell->source())
            return Error::invalid(plugName(where) + " is driven by " + plugName(*cell->source()) +
                                  " and cannot be set");
    }
    return Error();
}

Error setNumbers(Scene& scene, const PlugRef& plug, const std::vector<double>& values,
                 std::vector<std::string>* notes) {
    if (Error error = checkSettable(plug)) return error;
    const Attribute* a = plug.mAttribute;
    const std::vector<const Attribute*> targets = numericTargets(a);
    if (targets.empty()) return Error::invalid(plugName(plug) + " does not hold numbers");
    const bool perComponent = a->kind() == AttrKind::Numeric;
    const size_t expected = perComponent ? static_cast<size_t>(componentCount(a->numericType())) : targets.size();
    if (values.size() != expected)
        return Error::invalid(plugName(plug) + " takes " + std::to_string(expected) + " value" +
                              (expected == 1 ? "" : "s") + ", got " + std::to_string(values.size()));
    for (double v : values)
        if (std::isnan(v)) return Error::invalid("NaN is not a value for " + plugName(plug));
    // Clamp and check every value first, so that a refused value changes nothing.
    std::vector<double> clamped(values);
    std::vector<std::string> clamps;
    for (size_t i = 0; i < values.size(); ++i) {
        const Attribute* target = perComponent ? a : targets[i];
        const int component = perComponent ? static_cast<int>(i) : 0;
        double& v = clamped[i];
        const std::string where = plugName({plug.mNode, target, plug.mPath});
        if (target->hasLimit(Limit::Min) && v < target->limit(Limit::Min, component)) {
            clamps.push_back(where + ": " + number(v) + " is below the minimum " +
                             number(target->limit(Limit::Min, component)) + "; set to the minimum");
            v = target->limit(Limit::Min, component);
        }
        if (target->hasLimit(Limit::Max) && v > target->limit(Limit::Max, component)) {
            clamps.push_back(where + ": " + number(v) + " is above the maximum " +
                             number(target->limit(Limit::Max, component)) + "; set to the maximum");
            v = target->limit(Limit::Max, component);
        }
        if (!fitsType(target->numericType(), v))
            return Error::invalid(where + ": " + number(v) + " is out of range for " +
                                  typeLabel(target->numericType()));
    }
    for (size_t i = 0; i < clamped.size(); ++i) {
        const Attribute* target = perComponent ? a : targets[i];
        setNumericComponent(settledValue({plug.mNode, target, plug.mPath}), target->numericType(),
                            perComponent ? static_cast<int>(i) : 0, clamped[i]);
    }
    for (const Attribute* target : targets) scene.propagateDirty({plug.mNode, target, plug.mPath});
    if (notes) notes->insert(notes->end(), clamps.begin(), clamps.end());
    return Error();
}

namespace {

// Stores a value with `store` into a settable plug that `fits`, then dirties what follows.
template <class Store>
Error setValue(Scene& scene, const PlugRef& plug, bool fits, const std::string& otherwise, Store store) {
    if (Error error = checkSettable(plug)) return error;
    if (!fits) return Error::invalid(plugName(plug) + otherwise);
    store(settledValue(plug));
    scene.propagateDirty(plug);
    return Error();
}

}  // namespace

Error setMatrix(Scene& scene, const PlugRef& plug, const MMatrix& matrix) {
    return setValue(scene, plug, plug.mAttribute && plug.mAttribute->kind() == AttrKind::Matrix,
                    " does not hold a matrix", [&](Value& value) { value.mMatrix = matrix; });
}

Error setString(Scene& scene, const PlugRef& plug, const MString& text) {
    const Attribute* a = plug.mAttribute;
    return setValue(scene, plug, a && a->kind() == AttrKind::Typed && a->dataType() == MFnData::kString,
                    " is not a string", [&](Value& value) { value.mString = text; });
}

Error setData(Scene& scene, const PlugRef& plug, const MObject& data) {
    if (Error error = checkSettable(plug)) return error;
    const Attribute* a = plug.mAttribute;
    auto* d = Access::as<Data>(data);
    if (a->kind() == AttrKind::Matrix) {
        auto* matrix = dynamic_cast<MatrixData*>(d);
        if (!matrix) return Error::invalid("type mismatch: " + plugName(plug) + " takes matrix data");
        return setMatrix(scene, plug, matrix->value());
    }
    if (a->kind() != AttrKind::Typed) return Error::invalid(plugName(plug) + " does not hold data");
    if (!data.isNull() && (!d || d->dataType() != a->dataType()))
        return Error::invalid("type mismatch: the data does not fit " + plugName(plug));
    if (auto* text = dynamic_cast<StringData*>(d)) return setString(scene, plug, text->value());
    return setValue(scene, plug, true, "", [&](Value& value) { value.mData = data; });
}

}  // namespace hx
