//
// NoEntryPoints: exports MApiVersion but defines no initializePlugin.
//
#include <maya/MFnPlugin.h>

int hxNothingHere()
{
    return 0;
}
