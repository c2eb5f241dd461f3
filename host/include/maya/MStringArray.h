#ifndef _MStringArray
#define _MStringArray
// MStringArray: a growable array of MString. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MStringArray */
