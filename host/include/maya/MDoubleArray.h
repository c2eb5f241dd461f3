#ifndef _MDoubleArray
#define _MDoubleArray
// MDoubleArray: a growable array of double. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MDoubleArray */
