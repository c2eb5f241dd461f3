// An attribute definition: name, kind, value type, default, limits, flags and place in a
// compound or multi. Created by the attribute function sets, then added to a node type.
#pragma once

#include "Data.h"
#include "Object.h"
#include "Value.h"

#include <maya/MFnData.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>

#include <string>
#include <vector>

namespace hx {

enum class AttrKind { Numeric, Typed, Matrix, Compound, Message };

class Attribute final : public Object {
public:
    Attribute(AttrKind kind, std::string name, std::string shortName)
        : mKind(kind), mName(std::move(name)), mShortName(std::move(shortName)) {}

    MFn::Type apiType() const override;

    // The multi attribute whose element index a plug of this attribute carries: itself
    // when it is a multi, its compound parent when that is one, otherwise none.
    const Attribute* arrayRoot() const;
    bool inArray() const { return arrayRoot() != nullptr; }
    bool matches(const std::string& name) const { return name == mName || name == mShortName; }
    // Number of numbers a value of this attribute has (numeric: 1-3; compound of numerics:
    // its child count; otherwise 0).
    int numericWidth() const;
    bool isAngle() const { return mAngle; }

    AttrKind mKind;
    std::string mName;
    std::string mShortName;

    MFnNumericData::Type mNumericType = MFnNumericData::kInvalid;
    MFnData::Type mDataType = MFnData::kInvalid;
    MFnMatrixAttribute::Type mMatrixType = MFnMatrixAttribute::kDouble;

    double mDefault[3] = {0.0, 0.0, 0.0};
    bool mHasMin = false;
    bool mHasMax = false;
    bool mHasSoftMin = false;
    bool mHasSoftMax = false;
    double mMin[3] = {0.0, 0.0, 0.0};
    double mMax[3] = {0.0, 0.0, 0.0};
    double mSoftMin = 0.0;
    double mSoftMax = 0.0;
    MMatrix mDefaultMatrix;
    Ref<Data> mDefaultData;  // typed: each node gets its own clone

    // Flags, with the host's values for a new attribute.
    bool mKeyable = false;
    bool mStorable = true;
    bool mReadable = true;
    bool mWritable = true;
    bool mConnectable = true;
    bool mHidden = false;
    bool mCached = true;
    bool mArray = false;
    bool mChannelBox = false;
    bool mIndexMatters = true;
    bool mUsesArrayDataBuilder = false;
    int mDisconnectBehavior = 2;  // MFnAttribute::kNothing

    // Values are radians inside and degrees at the engine's setAttr/getAttr, like the host.
    bool mAngle = false;

    Attribute* mParent = nullptr;
    std::vector<Ref<Attribute>> mChildren;
    // Set when a node type takes the attribute; one attribute belongs to one type family.
    bool mAdded = false;
};

}  // namespace hx
