// The value held by one plug of one node, and the numeric conversions between the
// numeric types an attribute can have.
#pragma once

#include <maya/MFloatVector.h>
#include <maya/MFnNumericData.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MVector.h>

namespace hx {

// MDataHandle getters return references into the block, so every representation a getter
// may ask for has its own storage. For a numeric attribute the field of its own type is
// authoritative; the others are scratch, refreshed when a getter of another type asks.
struct Value {
    bool mBool = false;
    char mChar = 0;
    unsigned char mUChar = 0;
    short mShort = 0;
    int mInt = 0;
    float mFloat = 0.0f;
    double mDouble = 0.0;
    double mDouble3[3] = {0.0, 0.0, 0.0};  // authoritative for 2- and 3-component types
    float mFloat3[3] = {0.0f, 0.0f, 0.0f};
    int mInt3[3] = {0, 0, 0};
    MMatrix mMatrix;
    MVector mVector;
    MFloatVector mFloatVector;
    MString mString;
    MObject mData;  // typed attributes: the data object (shared, not copied, along connections)
};

int componentCount(MFnNumericData::Type type);
bool isIntegral(MFnNumericData::Type type);

// Component `i` of a numeric value as a double.
double numericComponent(const Value& value, MFnNumericData::Type type, int i = 0);
// Stores a double into component `i`, rounding to nearest for integral types.
void setNumericComponent(Value& value, MFnNumericData::Type type, int i, double number);

}  // namespace hx
