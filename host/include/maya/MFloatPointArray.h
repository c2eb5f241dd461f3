#ifndef _MFloatPointArray
#define _MFloatPointArray
// MFloatPointArray: a growable array of MFloatPoint. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MFloatPointArray */
