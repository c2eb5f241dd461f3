#ifndef _MPointArray
#define _MPointArray
//
// MPointArray: a growable array of MPoint.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MPoint.h>

class OPENMAYA_EXPORT MPointArray
{
public:
    MPointArray();
    MPointArray(const MPointArray& other);
    MPointArray(unsigned int initialSize, const MPoint& initialValue = MPoint::origin);
    ~MPointArray();

    MPointArray& operator=(const MPointArray& other);
    const MPoint& operator[](unsigned int index) const;
    MPoint& operator[](unsigned int index);

    unsigned int length() const;
    MStatus append(const MPoint& element);
    MStatus copy(const MPointArray& source);
    MStatus set(const MPoint& element, unsigned int index);
    MStatus setLength(unsigned int length);
    MStatus remove(unsigned int index);
    MStatus insert(const MPoint& element, unsigned int index);
    MStatus clear();

private:
    MStatus reserve(unsigned int capacity);

    MPoint* mData;
    unsigned int mLength;
    unsigned int mCapacity;
};

#endif /* __cplusplus */
#endif /* _MPointArray */
