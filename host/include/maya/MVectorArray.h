#ifndef _MVectorArray
#define _MVectorArray
//
// MVectorArray: a growable array of MVector.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

class OPENMAYA_EXPORT MVectorArray
{
public:
    MVectorArray();
    MVectorArray(const MVectorArray& other);
    MVectorArray(unsigned int initialSize, const MVector& initialValue = MVector::zero);
    ~MVectorArray();

    MVectorArray& operator=(const MVectorArray& other);
    const MVector& operator[](unsigned int index) const;
    MVector& operator[](unsigned int index);

    unsigned int length() const;
    MStatus append(const MVector& element);
    MStatus copy(const MVectorArray& source);
    MStatus set(const MVector& element, unsigned int index);
    MStatus setLength(unsigned int length);
    MStatus remove(unsigned int index);
    MStatus insert(const MVector& element, unsigned int index);
    MStatus clear();

private:
    MStatus reserve(unsigned int capacity);

    MVector* mData;
    unsigned int mLength;
    unsigned int mCapacity;
};

#endif /* __cplusplus */
#endif /* _MVectorArray */
