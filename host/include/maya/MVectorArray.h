#ifndef _MVectorArray
#define _MVectorArray
// MVectorArray: a growable array of MVector. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MVectorArray */
