#include "Attribute.h"

namespace hx {

MFn::Type Attribute::apiType() const {
    switch (mKind) {
    case AttrKind::Numeric: return MFn::kNumericAttribute;
    case AttrKind::Typed: return MFn::kTypedAttribute;
    case AttrKind::Matrix: return MFn::kMatrixAttribute;
    case AttrKind::Compound: return MFn::kCompoundAttribute;
    case AttrKind::Message: return MFn::kMessageAttribute;
    }
    return MFn::kAttribute;
}

const Attribute* Attribute::arrayRoot() const {
    if (mArray) return this;
    if (mParent && mParent->mArray) return mParent;
    return nullptr;
}

int Attribute::numericWidth() const {
    if (mKind == AttrKind::Numeric) return componentCount(mNumericType);
    if (mKind != AttrKind::Compound || mChildren.empty()) return 0;
    for (const auto& child : mChildren)
        if (child->mKind != AttrKind::Numeric || componentCount(child->mNumericType) != 1) return 0;
    return static_cast<int>(mChildren.size());
}

}  // namespace hx
