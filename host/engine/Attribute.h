// An attribute definition: name, kind, value type, default, limits, flags and its place in a
// compound or multi. The attribute function sets create and edit one; once a node type has
// taken it (addAttribute), its shape (children, multi-ness) is fixed.
#pragma once

#include "Data.h"
#include "Error.h"
#include "Object.h"

#include <maya/MFnData.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MMatrix.h>

#include <string>
#include <utility>
#include <vector>

namespace hx {

enum class AttrKind { Numeric, Typed, Matrix, Compound, Message };

// What a numeric attribute measures. Values are kept in the host's internal units
// (centimetres, radians, frames at 24 per second) and shown at Host.h in its user units
// (centimetres, degrees, frames).
enum class Unit { Scalar, Distance, Angle, Time };

enum class Flag {
    Keyable,
    Storable,
    Readable,
    Writable,
    Connectable,
    Hidden,
    Cached,
    Array,
    ChannelBox,
    IndexMatters,
    UsesArrayDataBuilder,
    UsedAsColor,
    Count
};

enum class Limit { Min, Max, SoftMin, SoftMax };

class Attribute final : public Object {
public:
    // The deepest nesting of multis (a multi inside a multi's compound, ...) this host keeps.
    static constexpr int kMaxArrayDepth = 3;

    Attribute(AttrKind kind, std::string name, std::string shortName);

    MFn::Type apiType() const override;

    AttrKind kind() const { return mKind; }
    const std::string& name() const { return mName; }
    const std::string& shortName() const { return mShortName; }
    bool matches(const std::string& name) const { return name == mName || name == mShortName; }

    // Numeric attributes, and compounds of numbers made as one (a point, a colour).
    MFnNumericData::Type numericType() const { return mNumericType; }
    void setNumericType(MFnNumericData::Type type) { mNumericType = type; }
    Unit unit() const { return mUnit; }
    void setUnit(Unit unit) { mUnit = unit; }
    // Number of numbers a value has: 1-3 for a numeric attribute, the child count for a
    // compound whose children are single numbers, otherwise 0.
    int numericWidth() const;
    // An enum keeps a short; its fields name some of the values.
    bool isEnum() const { return mEnum; }
    void makeEnum() { mEnum = true; }
    const std::vector<std::pair<short, std::string>>& enumFields() const { return mEnumFields; }
    Error addEnumField(const std::string& name, short index);

    MFnData::Type dataType() const { return mDataType; }
    void setDataType(MFnData::Type type) { mDataType = type; }
    MFnMatrixAttribute::Type matrixType() const { return mMatrixType; }
    void setMatrixType(MFnMatrixAttribute::Type type) { mMatrixType = type; }

    // Defaults: numbers per component, a matrix, or data (each node gets its own clone).
    double defaultValue(int component = 0) const { return component >= 0 && component < 3 ? mDefault[component] : 0; }
    void setDefault(int count, const double values[]);
    const MMatrix& defaultMatrix() const { return mDefaultMatrix; }
    void setDefaultMatrix(const MMatrix& matrix) { mDefaultMatrix = matrix; }
    const Ref<Data>& defaultData() const { return mDefaultData; }
    void setDefaultData(Ref<Data> data) { mDefaultData = std::move(data); }

    bool hasLimit(Limit which) const { return mHasLimit[static_cast<int>(which)]; }
    double limit(Limit which, int component = 0) const;
    void setLimit(Limit which, int count, const double values[]);

    bool flag(Flag which) const { return mFlags[static_cast<int>(which)]; }
    // Fails for Array once a node type has the attribute: its plugs exist in that shape.
    Error setFlag(Flag which, bool state);
    bool isArray() const { return flag(Flag::Array); }
    bool isReadable() const { return flag(Flag::Readable); }
    bool isWritable() const { return flag(Flag::Writable); }
    bool isConnectable() const { return flag(Flag::Connectable); }
    int disconnectBehavior() const { return mDisconnectBehavior; }
    void setDisconnectBehavior(int behavior) { mDisconnectBehavior = behavior; }

    // Compound structure.
    Attribute* parent() const { return mParent; }
    const std::vector<Ref<Attribute>>& children() const { return mChildren; }
    // Fails when the child has a parent already, would contain this compound, or the
    // compound belongs to a node type.
    Error addChild(const Ref<Attribute>& child);
    Error removeChild(const Attribute* child);

    // The multis a plug of this attribute lies in, outermost first (weights:
    // weightList, weights); one element index per entry.
    std::vector<const Attribute*> arrayChain() const;
    int arrayDepth() const;
    bool inArray() const { return arrayDepth() > 0; }
    // This attribute and everything below it, parents before children.
    std::vector<const Attribute*> subtree() const;

    // Set when a node type takes the attribute (with its children); one attribute belongs
    // to one node type family.
    bool isAdded() const { return mAdded; }
    void setAdded(bool added);

private:
    AttrKind mKind;
    std::string mName;
    std::string mShortName;

    MFnNumericData::Type mNumericType = MFnNumericData::kInvalid;
    Unit mUnit = Unit::Scalar;
    bool mEnum = false;
    std::vector<std::pair<short, std::string>> mEnumFields;
    MFnData::Type mDataType = MFnData::kInvalid;
    MFnMatrixAttribute::Type mMatrixType = MFnMatrixAttribute::kDouble;

    double mDefault[3] = {0.0, 0.0, 0.0};
    bool mHasLimit[4] = {false, false, false, false};
    double mLimit[4][3] = {};
    MMatrix mDefaultMatrix;
    Ref<Data> mDefaultData;

    bool mFlags[static_cast<int>(Flag::Count)];
    int mDisconnectBehavior = 2;  // MFnAttribute::kNothing

    Attribute* mParent = nullptr;
    std::vector<Ref<Attribute>> mChildren;
    bool mAdded = false;
};

}  // namespace hx
