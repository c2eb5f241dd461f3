#include <maya/MFnCompoundAttribute.h>

#include "../engine/Attribute.h"
#include "AttributeCreation.h"
#include "FnSet.h"

using hx::Attribute;

HX_DEFINE_MFN(MFnCompoundAttribute, MFn::kCompoundAttribute)

MObject MFnCompoundAttribute::create(const MString& fullName, const MString& briefName, MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnCompoundAttribute::create", hx::AttrKind::Compound, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    mObject = hx::Access::wrap(a.get());
    return mObject;
}

MStatus MFnCompoundAttribute::addChild(const MObject& child) {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Compound);
    Attribute* c = hx::Access::as<Attribute>(child);
    if (MStatus fault = hx::injectedFault("MFnCompoundAttribute::addChild", hx::faultSubject(c)); !fault) return fault;
    if (!a) return hx::notAttached("MFnCompoundAttribute");
    if (hx::Error error = a->addChild(hx::Ref<Attribute>(c))) return hx::Access::status(error);
    // A compound of numbers made as one takes only numbers; another child makes it a plain compound.
    if (c->kind() != hx::AttrKind::Numeric) a->setNumericType(MFnNumericData::kInvalid);
    return MStatus();
}

MStatus MFnCompoundAttribute::removeChild(const MObject& child) {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Compound);
    if (!a) return hx::notAttached("MFnCompoundAttribute");
    return hx::Access::status(a->removeChild(hx::Access::as<Attribute>(child)));
}

unsigned int MFnCompoundAttribute::numChildren(MStatus* ReturnStatus) const {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Compound);
    hx::report(ReturnStatus, a ? MStatus() : hx::notAttached("MFnCompoundAttribute"));
    return a ? static_cast<unsigned int>(a->children().size()) : 0;
}

MObject MFnCompoundAttribute::child(unsigned int index, MStatus* ReturnStatus) const {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Compound);
    if (!a || index >= a->children().size()) {
        hx::report(ReturnStatus, a ? MStatus(MStatus::kInvalidParameter) : hx::notAttached("MFnCompoundAttribute"));
        return MObject();
    }
    hx::report(ReturnStatus, MStatus());
    return hx::Access::wrap(a->children()[index].get());
}
