#ifndef _MFn
#define _MFn
//
// MFn: the kinds of objects the host hands out, used to pick compatible function sets.
//
#if defined __cplusplus

#include <maya/MTypes.h>

class FND_EXPORT MFn
{
public:
    enum Type {
        kInvalid = 0,
        kBase,
        kNamedObject,
        kDependencyNode,
        kDagNode,
        kTransform,
        kShape,
        kMesh,
        kLocator,
        kPluginDependNode,
        kPluginLocatorNode,
        kGeometryFilt,
        kPluginDeformerNode,
        kAttribute,
        kNumericAttribute,
        kTypedAttribute,
        kMatrixAttribute,
        kCompoundAttribute,
        kMessageAttribute,
        kData,
        kNumericData,
        kVectorArrayData,
        kPointArrayData,
        kMatrixData,
        kMeshData,
        kPluginData,
        kPlugin,
        kTime,
        kUnitAttribute,
        kEnumAttribute,
        kAttribute2Short,
        kAttribute2Int,
        kAttribute2Float,
        kAttribute2Double,
        kAttribute3Short,
        kAttribute3Int,
        kAttribute3Float,
        kAttribute3Double,
        kStringData,
        kLast
    };
};

#endif /* __cplusplus */
#endif /* _MFn */
