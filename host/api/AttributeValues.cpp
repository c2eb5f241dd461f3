#include "AttributeValues.h"

#include "FnSet.h"

namespace hx {

namespace {

const char* setterName(ValueField field) {
    switch (field) {
    case ValueField::Min: return "::setMin";
    case ValueField::Max: return "::setMax";
    case ValueField::SoftMin: return "::setSoftMin";
    case ValueField::SoftMax: return "::setSoftMax";
    case ValueField::Default: return "::setDefault";
    }
    return "";
}

void store(Attribute* a, ValueField field, int count, const double values[]) {
    if (field == ValueField::Default)
        a->setDefault(count, values);
    else
        a->setLimit(static_cast<Limit>(field), count, values);
}

}  // namespace

MStatus setValues(const std::string& functionSet, Attribute* attribute, ValueField field, int count,
                  const double values[]) {
    if (MStatus fault = injectedFault(functionSet + setterName(field), faultSubject(attribute)); !fault) return fault;
    if (!attribute) return notAttached(functionSet.c_str());
    store(attribute, field, count, values);
    if (attribute->kind() == AttrKind::Compound)
        for (int i = 0; i < count && i < static_cast<int>(attribute->children().size()); ++i)
            store(attribute->children()[i].get(), field, 1, &values[i]);
    return MStatus();
}

MStatus getValues(const std::string& functionSet, const Attribute* attribute, ValueField field, double* a, double* b,
                  double* c) {
    if (!attribute) return notAttached(functionSet.c_str());
    const bool isDefault = field == ValueField::Default;
    if (!isDefault && !attribute->hasLimit(static_cast<Limit>(field))) return MStatus::kFailure;
    double* out[3] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        if (out[i]) *out[i] = isDefault ? attribute->defaultValue(i) : attribute->limit(static_cast<Limit>(field), i);
    return MStatus();
}

bool hasLimit(const std::string& functionSet, const Attribute* attribute, Limit which, MStatus* ReturnStatus) {
    report(ReturnStatus, attribute ? MStatus() : notAttached(functionSet.c_str()));
    return attribute && attribute->hasLimit(which);
}

}  // namespace hx
