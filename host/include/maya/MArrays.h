#ifndef _MArrays
#define _MArrays
//
// The API's growable arrays, declared together: they share their members, which
// declareMArray(Array, Element) declares (an element is passed and returned as
// `const Element&`):
//
//   Array();  Array(const Array& other);  Array(const Element src[], unsigned int count);
//   Array& operator=(const Array& other);
//   const Element& operator[](unsigned int index) const;  Element& operator[](unsigned int index);
//   unsigned int length() const;
//   MStatus set(const Element& element, unsigned int index);  MStatus setLength(unsigned int length);
//   MStatus append(const Element& element);  MStatus insert(const Element& element, unsigned int index);
//   MStatus remove(unsigned int index);  MStatus copy(const Array& source);  MStatus clear();
//   void setSizeIncrement(unsigned int newIncrement);  unsigned int sizeIncrement() const;
//
// Each array adds the constructor from a size and an initial value, and its own extras.
// Indexing is unchecked, as in the host: callers keep index < length(). set, insert and
// remove refuse an index out of range with kInvalidParameter. An array grows by doubling, or
// by its size increment when that is larger. Include the array's own header (MIntArray.h).
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MPlug.h>
#include <maya/MPoint.h>
#include <maya/MString.h>
#include <maya/MVector.h>

namespace hx {
class Access;
}

#define declareMArray(Array, Element)                           \
public:                                                         \
    Array();                                                    \
    Array(const Array& other);                                  \
    Array(const Element src[], unsigned int count);             \
    ~Array();                                                   \
    Array& operator=(const Array& other);                       \
    const Element& operator[](unsigned int index) const;        \
    Element& operator[](unsigned int index);                    \
    unsigned int length() const;                                \
    MStatus set(const Element& element, unsigned int index);    \
    MStatus setLength(unsigned int length);                     \
    MStatus append(const Element& element);                     \
    MStatus insert(const Element& element, unsigned int index); \
    MStatus remove(unsigned int index);                         \
    MStatus copy(const Array& source);                          \
    MStatus clear();                                            \
    void setSizeIncrement(unsigned int newIncrement);           \
    unsigned int sizeIncrement() const;                         \
                                                                \
private:                                                        \
    friend class hx::Access;                                    \
    Element* mData;                                             \
    unsigned int mLength;                                       \
    unsigned int mCapacity;                                     \
    unsigned int mIncrement;                                    \
                                                                \
public:

// MPointArray: a growable array of MPoint.
class OPENMAYA_EXPORT MPointArray
{
    declareMArray(MPointArray, MPoint)
        MPointArray(unsigned int initialSize, const MPoint& initialValue = MPoint::origin);
    MStatus get(double dest[][4]) const;
    MStatus get(float dest[][4]) const;
};

// MVectorArray: a growable array of MVector.
class OPENMAYA_EXPORT MVectorArray
{
    declareMArray(MVectorArray, MVector)
        MVectorArray(unsigned int initialSize, const MVector& initialValue = MVector::zero);
    MStatus get(double dest[][3]) const;
    MStatus get(float dest[][3]) const;
};

// MFloatPointArray: a growable array of MFloatPoint.
class OPENMAYA_EXPORT MFloatPointArray
{
    declareMArray(MFloatPointArray, MFloatPoint)
        MFloatPointArray(unsigned int initialSize, const MFloatPoint& initialValue = MFloatPoint::origin);
    MStatus get(float dest[][4]) const;
};

// MFloatVectorArray: a growable array of MFloatVector.
class OPENMAYA_EXPORT MFloatVectorArray
{
    declareMArray(MFloatVectorArray, MFloatVector)
        MFloatVectorArray(unsigned int initialSize, const MFloatVector& initialValue = MFloatVector::zero);
    MStatus get(float dest[][3]) const;
};

// MIntArray: a growable array of int.
class OPENMAYA_EXPORT MIntArray
{
    declareMArray(MIntArray, int) MIntArray(unsigned int initialSize, int initialValue = 0);
    MStatus get(int dest[]) const;
};

// MDoubleArray: a growable array of double.
class OPENMAYA_EXPORT MDoubleArray
{
    declareMArray(MDoubleArray, double) MDoubleArray(unsigned int initialSize, double initialValue = 0.0);
    MStatus get(double dest[]) const;
    MStatus get(float dest[]) const;
};

// MStringArray: a growable array of MString.
class OPENMAYA_EXPORT MStringArray
{
    declareMArray(MStringArray, MString) MStringArray(unsigned int initialSize, const MString& initialValue);
};

// MPlugArray: a growable array of MPlug, as MPlug::connectedTo fills it.
class OPENMAYA_EXPORT MPlugArray
{
    declareMArray(MPlugArray, MPlug) MPlugArray(unsigned int initialSize, const MPlug& initialValue);
};

#endif /* __cplusplus */
#endif /* _MArrays */
