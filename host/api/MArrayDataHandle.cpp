#include <maya/MArrayDataHandle.h>

#include "../engine/Engine.h"
#include "FnSet.h"

using hx::Access;

MArrayDataHandle::MArrayDataHandle(const MDataHandle& in, MStatus* ReturnStatus) : mArray(in), mPosition(0) {
    hx::Node* node = Access::handleNode(in);
    const hx::Attribute* a = Access::handleAttribute(in);
    if (!node || !a || !a->mArray || Access::handleIndex(in) >= 0) {
        mArray = MDataHandle();
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "the handle is not a multi attribute"));
        return;
    }
    mIndices = node->elementIndices(a);
    hx::report(ReturnStatus, MStatus());
}

MArrayDataHandle::MArrayDataHandle(const MArrayDataHandle& other)
    : mArray(other.mArray), mIndices(other.mIndices), mPosition(other.mPosition) {}

MArrayDataHandle& MArrayDataHandle::operator=(const MArrayDataHandle& other) {
    mArray = other.mArray;
    mIndices = other.mIndices;
    mPosition = other.mPosition;
    return *this;
}

MDataHandle MArrayDataHandle::element(bool forInput, MStatus* ReturnStatus) {
    hx::Node* node = Access::handleNode(mArray);
    const hx::Attribute* a = Access::handleAttribute(mArray);
    if (!node || mPosition >= mIndices.size()) {
        hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MDataHandle();
    }
    hx::report(ReturnStatus, MStatus());
    const int index = static_cast<int>(mIndices[mPosition]);
    hx::Cell* cell = forInput && a->mKind != hx::AttrKind::Compound
                         ? &hx::Engine::get().scene().evaluate({node, a, index})
                         : &node->cell(a, index);
    return Access::handle(node, a, index, cell, forInput);
}

MDataHandle MArrayDataHandle::inputValue(MStatus* ReturnStatus) { return element(true, ReturnStatus); }
MDataHandle MArrayDataHandle::outputValue(MStatus* ReturnStatus) { return element(false, ReturnStatus); }

MStatus MArrayDataHandle::next() {
    if (mPosition >= mIndices.size()) return MStatus::kFailure;
    ++mPosition;
    return mPosition < mIndices.size() ? MStatus() : MStatus(MStatus::kFailure);
}

unsigned int MArrayDataHandle::elementCount(MStatus* ReturnStatus) {
    hx::report(ReturnStatus, MStatus());
    return static_cast<unsigned int>(mIndices.size());
}

unsigned int MArrayDataHandle::elementIndex(MStatus* ReturnStatus) {
    const bool ok = mPosition < mIndices.size();
    hx::report(ReturnStatus, ok ? MStatus() : MStatus(MStatus::kFailure));
    return ok ? mIndices[mPosition] : 0;
}

MStatus MArrayDataHandle::jumpToElement(unsigned int index) {
    for (unsigned int i = 0; i < mIndices.size(); ++i)
        if (mIndices[i] == index) {
            mPosition = i;
            return MStatus();
        }
    return MStatus::kInvalidParameter;
}

MStatus MArrayDataHandle::jumpToArrayElement(unsigned int position) {
    if (position >= mIndices.size()) return MStatus::kInvalidParameter;
    mPosition = position;
    return MStatus();
}

MStatus MArrayDataHandle::setClean() {
    hx::Node* node = Access::handleNode(mArray);
    const hx::Attribute* a = Access::handleAttribute(mArray);
    if (!node) return MStatus::kInvalidParameter;
    for (unsigned int index : mIndices) node->cell(a, static_cast<int>(index)).mDirty = false;
    return MStatus();
}
