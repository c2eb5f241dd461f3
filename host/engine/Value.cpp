#include "Value.h"

#include <cmath>
#include <limits>

namespace hx {

int componentCount(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::k2Short:
    case MFnNumericData::k2Int:
    case MFnNumericData::k2Float:
    case MFnNumericData::k2Double: return 2;
    case MFnNumericData::k3Short:
    case MFnNumericData::k3Int:
    case MFnNumericData::k3Float:
    case MFnNumericData::k3Double: return 3;
    case MFnNumericData::kInvalid:
    case MFnNumericData::kAddr:
    case MFnNumericData::kLast: return 0;
    default: return 1;
    }
}

bool isIntegral(MFnNumericData::Type type) {
    switch (type) {
    case MFnNumericData::kBoolean:
    case MFnNumericData::kByte:
    case MFnNumericData::kChar:
    case MFnNumericData::kShort:
    case MFnNumericData::k2Short:
    case MFnNumericData::k3Short:
    case MFnNumericData::kInt:
    case MFnNumericData::k2Int:
    case MFnNumericData::k3Int: return true;
    default: return false;
    }
}

double numericComponent(const Value& v, MFnNumericData::Type type, int i) {
    if (componentCount(type) > 1) return (i >= 0 && i < 3) ? v.mDouble3[i] : 0.0;
    switch (type) {
    case MFnNumericData::kBoolean: return v.mBool ? 1.0 : 0.0;
    case MFnNumericData::kByte: return v.mUChar;
    case MFnNumericData::kChar: return v.mChar;
    case MFnNumericData::kShort: return v.mShort;
    case MFnNumericData::kInt: return v.mInt;
    case MFnNumericData::kFloat: return v.mFloat;
    case MFnNumericData::kDouble: return v.mDouble;
    default: return 0.0;
    }
}

namespace {

// Rounds to the nearest integer within the target range; NaN becomes 0.
template <class T>
T toIntegral(double number) {
    if (std::isnan(number)) return 0;
    const double lo = static_cast<double>(std::numeric_limits<T>::min());
    const double hi = static_cast<double>(std::numeric_limits<T>::max());
    const double r = std::nearbyint(number);
    if (r <= lo) return std::numeric_limits<T>::min();
    if (r >= hi) return std::numeric_limits<T>::max();
    return static_cast<T>(r);
}

// Narrows to float; a finite value beyond float's range becomes the infinity of its sign
// (the conversion itself would be undefined).
float toFloat(double number) {
    const double largest = static_cast<double>(std::numeric_limits<float>::max());
    if (number > largest) return std::numeric_limits<float>::infinity();
    if (number < -largest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(number);
}

}  // namespace

void setNumericComponent(Value& v, MFnNumericData::Type type, int i, double number) {
    const int count = componentCount(type);
    if (count > 1) {
        if (i < 0 || i >= count) return;
        if (isIntegral(type))
            number = toIntegral<int>(number);
        else if (type == MFnNumericData::k2Float || type == MFnNumericData::k3Float)
            number = toFloat(number);
        v.mDouble3[i] = number;
        return;
    }
    if (i != 0) return;
    switch (type) {
    case MFnNumericData::kBoolean: v.mBool = number != 0.0 && !std::isnan(number); break;
    case MFnNumericData::kByte: v.mUChar = toIntegral<unsigned char>(number); break;
    case MFnNumericData::kChar: v.mChar = toIntegral<char>(number); break;
    case MFnNumericData::kShort: v.mShort = toIntegral<short>(number); break;
    case MFnNumericData::kInt: v.mInt = toIntegral<int>(number); break;
    case MFnNumericData::kFloat: v.mFloat = toFloat(number); break;
    case MFnNumericData::kDouble: v.mDouble = number; break;
    default: break;
    }
}

}  // namespace hx
