#ifndef _MFnData
#define _MFnData
//
// MFnData: the root of the function sets on data objects carried by typed attributes.
//
#if defined __cplusplus

#include <maya/MFnBase.h>

class OPENMAYA_EXPORT MFnData : public MFnBase
{
    declareMFn(MFnData, MFnBase)

public:
    enum Type {
        kInvalid = 0,
        kNumeric = 1,
        kPlugin = 2,
        kPluginGeometry = 3,
        kString = 4,
        kMatrix = 5,
        kStringArray = 6,
        kDoubleArray = 7,
        kIntArray = 8,
        kPointArray = 9,
        kVectorArray = 10,
        kComponentList = 11,
        kMesh = 12,
        kLattice = 13,
        kNurbsCurve = 14,
        kNurbsSurface = 15,
        kSphere = 16,
        kDynArrayAttrs = 17,
        kDynSweptGeometry = 18,
        kSubdSurface = 19,
        kNObject = 20,
        kNId = 21,
        kLast = 22
    };
};

#endif /* __cplusplus */
#endif /* _MFnData */
