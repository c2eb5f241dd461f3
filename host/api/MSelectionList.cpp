#include <maya/MSelectionList.h>

MSelectionList::MSelectionList() {}
MSelectionList::MSelectionList(const MSelectionList&) = default;
MSelectionList::~MSelectionList() {}
MSelectionList& MSelectionList::operator=(const MSelectionList&) = default;
MStatus MSelectionList::clear() {
    mItems.clear();
    return MStatus::kSuccess;
}
bool MSelectionList::isEmpty(MStatus* ReturnStatus) const {
    if (ReturnStatus) *ReturnStatus = MStatus::kSuccess;
    return mItems.empty();
}
unsigned int MSelectionList::length(MStatus* ReturnStatus) const {
    if (ReturnStatus) *ReturnStatus = MStatus::kSuccess;
    return static_cast<unsigned int>(mItems.size());
}
MStatus MSelectionList::add(const MObject& object, bool mergeWithExisting) {
    if (object.isNull()) return MStatus::kInvalidParameter;
    if (mergeWithExisting)
        for (const MObject& item : mItems)
            if (item == object) return MStatus::kSuccess;
    mItems.push_back(object);
    return MStatus::kSuccess;
}
MStatus MSelectionList::remove(unsigned int index) {
    if (index >= mItems.size()) return MStatus::kInvalidParameter;
    mItems.erase(mItems.begin() + index);
    return MStatus::kSuccess;
}
MStatus MSelectionList::getDependNode(unsigned int index, MObject& depNode) const {
    if (index >= mItems.size()) return MStatus::kInvalidParameter;
    depNode = mItems[index];
    return MStatus::kSuccess;
}
