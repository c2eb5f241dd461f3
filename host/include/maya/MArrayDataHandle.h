#ifndef _MArrayDataHandle
#define _MArrayDataHandle
//
// MArrayDataHandle: walks the elements of a multi attribute in a data block.
//
#if defined __cplusplus

#include <vector>
#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MDataHandle.h>

class OPENMAYA_EXPORT MArrayDataHandle
{
public:
    MArrayDataHandle(const MDataHandle& in, MStatus* ReturnStatus = NULL);
    MArrayDataHandle(const MArrayDataHandle& other);
    MArrayDataHandle& operator=(const MArrayDataHandle& other);

    MDataHandle inputValue(MStatus* ReturnStatus = NULL);
    MDataHandle outputValue(MStatus* ReturnStatus = NULL);
    MStatus next();
    unsigned int elementCount(MStatus* ReturnStatus = NULL);
    unsigned int elementIndex(MStatus* ReturnStatus = NULL);
    MStatus jumpToElement(unsigned int index);
    MStatus jumpToArrayElement(unsigned int position);
    MStatus setClean();

private:
    friend class hx::Access;
    MDataHandle element(bool forInput, MStatus* ReturnStatus);

    MDataHandle mArray;
    std::vector<unsigned int> mIndices;
    unsigned int mPosition;
};

#endif /* __cplusplus */
#endif /* _MArrayDataHandle */
