// Defaults and limits as the numeric attribute function sets read and write them
// (MFnNumericAttribute, MFnUnitAttribute, MFnEnumAttribute): numbers in the host's internal
// units, one to three components.
#pragma once

#include <maya/MStatus.h>

#include "../engine/Attribute.h"

#include <string>

namespace hx {

enum class ValueField { Min, Max, SoftMin, SoftMax, Default };

// Stores up to three values into one of the attribute's fields; a compound of numbers keeps
// them in its children too, one each. `functionSet` names the caller for the fault plan
// ("MFnNumericAttribute" makes "MFnNumericAttribute::setMin") and for a refusal.
MStatus setValues(const std::string& functionSet, Attribute* attribute, ValueField field, int count,
                  const double values[]);
// Copies up to three values out (null: not wanted); fails when the attribute has no such limit.
MStatus getValues(const std::string& functionSet, const Attribute* attribute, ValueField field, double* a,
                  double* b = nullptr, double* c = nullptr);
bool hasLimit(const std::string& functionSet, const Attribute* attribute, Limit which, MStatus* ReturnStatus);

}  // namespace hx

// hasMin, hasMax, hasSoftMin and hasSoftMax of a function set whose attribute `accessor`
// finds (null when the set is not attached to one of its kind).
#define HX_DEFINE_HAS_LIMITS(Class, accessor)                                                                     \
    bool Class::hasMin(MStatus* st) const { return hx::hasLimit(#Class, accessor(mObject), hx::Limit::Min, st); } \
    bool Class::hasMax(MStatus* st) const { return hx::hasLimit(#Class, accessor(mObject), hx::Limit::Max, st); } \
    bool Class::hasSoftMin(MStatus* st) const {                                                                   \
        return hx::hasLimit(#Class, accessor(mObject), hx::Limit::SoftMin, st);                                   \
    }                                                                                                             \
    bool Class::hasSoftMax(MStatus* st) const {                                                                   \
        return hx::hasLimit(#Class, accessor(mObject), hx::Limit::SoftMax, st);                                   \
    }
