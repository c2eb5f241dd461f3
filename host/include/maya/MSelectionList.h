#ifndef _MSelectionList
#define _MSelectionList
//
// MSelectionList: an ordered list of nodes.
//
#if defined __cplusplus

#include <vector>
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>

class OPENMAYA_EXPORT MSelectionList
{
public:
    MSelectionList();
    MSelectionList(const MSelectionList& src);
    virtual ~MSelectionList();
    MSelectionList& operator=(const MSelectionList& other);

    MStatus clear();
    bool isEmpty(MStatus* ReturnStatus = NULL) const;
    unsigned int length(MStatus* ReturnStatus = NULL) const;
    MStatus add(const MObject& object, bool mergeWithExisting = false);
    MStatus remove(unsigned int index);
    MStatus getDependNode(unsigned int index, MObject& depNode) const;

private:
    std::vector<MObject> mItems;
};

#endif /* __cplusplus */
#endif /* _MSelectionList */
