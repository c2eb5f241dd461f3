#ifndef _MPointArray
#define _MPointArray
// MPointArray: a growable array of MPoint. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MPointArray */
