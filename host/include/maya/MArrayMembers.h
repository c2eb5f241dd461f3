#ifndef _MArrayMembers
#define _MArrayMembers
//
// The members every growable array of the API shares (MIntArray, MPointArray, MPlugArray,
// ...), declared once. In `declareMArray(Array, Element)` an element is passed and returned
// as `const Element&`. Each array header adds the constructor from a size and an initial
// value, with that array's default, and its own extras.
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
// Indexing is unchecked, as in the host: callers keep index < length(). set, insert and remove
// refuse an index out of range with kInvalidParameter. An array grows by doubling, or by its
// size increment when that is larger.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

#define declareMArray(Array, Element)                                   \
public:                                                                 \
    Array();                                                            \
    Array(const Array& other);                                          \
    Array(const Element src[], unsigned int count);                     \
    ~Array();                                                           \
    Array& operator=(const Array& other);                               \
    const Element& operator[](unsigned int index) const;                \
    Element& operator[](unsigned int index);                            \
    unsigned int length() const;                                        \
    MStatus set(const Element& element, unsigned int index);            \
    MStatus setLength(unsigned int length);                             \
    MStatus append(const Element& element);                             \
    MStatus insert(const Element& element, unsigned int index);         \
    MStatus remove(unsigned int index);                                 \
    MStatus copy(const Array& source);                                  \
    MStatus clear();                                                    \
    void setSizeIncrement(unsigned int newIncrement);                   \
    unsigned int sizeIncrement() const;                                 \
                                                                        \
private:                                                                \
    Element* mData;                                                     \
    unsigned int mLength;                                               \
    unsigned int mCapacity;                                             \
    unsigned int mIncrement;                                            \
                                                                        \
public:

#endif /* __cplusplus */
#endif /* _MArrayMembers */
