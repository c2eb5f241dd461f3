#ifndef _MIntArray
#define _MIntArray
// MIntArray: a growable array of int. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MIntArray */
