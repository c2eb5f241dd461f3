#ifndef _MFloatVectorArray
#define _MFloatVectorArray
// MFloatVectorArray: a growable array of MFloatVector. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MFloatVectorArray */
