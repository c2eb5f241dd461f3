#include <maya/MArrayDataHandle.h>

#include "../engine/Engine.h"
#include "FnSet.h"

using hx::Access;
using hx::PlugRef;

MArrayDataHandle::MArrayDataHandle(const MDataHandle& in, MStatus* ReturnStatus) : mArray(in), mPosition(0) {
    const PlugRef array = Access::handlePlug(in);
    if (!array.mNode || !array.isWholeArray()) {
        mArray = MDataHandle();
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "the handle is not a multi attribute"));
        return;
    }
    mIndices = array.mNode->elementIndices(array.mAttribute, array.mPath);
    hx::report(ReturnStatus, MStatus());
}

MArrayDataHandle::MArrayDataHandle(const MArrayDataHandle&) = default;

MArrayDataHandle& MArrayDataHandle::operator=(const MArrayDataHandle&) = default;

MDataHandle MArrayDataHandle::element(bool forInput, MStatus* ReturnStatus) {
    const PlugRef array = Access::handlePlug(mArray);
    if (!array.mNode || mPosition >= mIndices.size()) {
        hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MDataHandle();
    }
    hx::report(ReturnStatus, MStatus());
    const int level = array.mAttribute->arrayDepth() - 1;
    const PlugRef element{array.mNode, array.mAttribute,
                          array.mPath.with(level, static_cast<int>(mIndices[mPosition]))};
    hx::Cell* cell = forInput && array.mAttribute->kind() != hx::AttrKind::Compound
                         ? &hx::Engine::current().scene().evaluate(element)
                         : &element.mNode->cell(element);
    return Access::handle(element, cell, forInput);
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
    const PlugRef array = Access::handlePlug(mArray);
    if (!array.mNode) return MStatus::kInvalidParameter;
    const int level = array.mAttribute->arrayDepth() - 1;
    for (unsigned int index : mIndices)
        array.mNode->cell(array.mAttribute, array.mPath.with(level, static_cast<int>(index))).setDirty(false);
    return MStatus();
}
