#include "Object.h"

namespace hx {

namespace {

// The kind each kind specialises; kBase is the root.
MFn::Type parentKind(MFn::Type type) {
    switch (type) {
    case MFn::kNamedObject: return MFn::kBase;
    case MFn::kDependencyNode: return MFn::kNamedObject;
    case MFn::kDagNode: return MFn::kDependencyNode;
    case MFn::kTransform: return MFn::kDagNode;
    case MFn::kShape: return MFn::kDagNode;
    case MFn::kMesh: return MFn::kShape;
    case MFn::kLocator: return MFn::kShape;
    case MFn::kPluginLocatorNode: return MFn::kLocator;
    case MFn::kPluginDependNode: return MFn::kDependencyNode;
    case MFn::kGeometryFilt: return MFn::kDependencyNode;
    case MFn::kPluginDeformerNode: return MFn::kGeometryFilt;
    case MFn::kAttribute: return MFn::kBase;
    case MFn::kNumericAttribute:
    case MFn::kTypedAttribute:
    case MFn::kMatrixAttribute:
    case MFn::kCompoundAttribute:
    case MFn::kMessageAttribute: return MFn::kAttribute;
    case MFn::kData: return MFn::kBase;
    case MFn::kNumericData:
    case MFn::kVectorArrayData:
    case MFn::kPointArrayData:
    case MFn::kMatrixData:
    case MFn::kMeshData:
    case MFn::kStringData:
    case MFn::kPluginData: return MFn::kData;
    case MFn::kPlugin: return MFn::kBase;
    case MFn::kTime: return MFn::kDependencyNode;
    case MFn::kUnitAttribute:
    case MFn::kEnumAttribute: return MFn::kAttribute;
    case MFn::kAttribute2Short:
    case MFn::kAttribute2Int:
    case MFn::kAttribute2Float:
    case MFn::kAttribute2Double:
    case MFn::kAttribute3Short:
    case MFn::kAttribute3Int:
    case MFn::kAttribute3Float:
    case MFn::kAttribute3Double: return MFn::kCompoundAttribute;
    default: return MFn::kInvalid;
    }
}

// Compounds of numbers made as one (a point, a colour) are numeric attributes too.
bool isNumericCompound(MFn::Type type) { return type >= MFn::kAttribute2Short && type <= MFn::kAttribute3Double; }

}  // namespace

bool isKindOf(MFn::Type actual, MFn::Type wanted) {
    if (actual == MFn::kInvalid) return false;
    if (wanted == MFn::kNumericAttribute && isNumericCompound(actual)) return true;
    for (MFn::Type t = actual; t != MFn::kInvalid; t = parentKind(t)) {
        if (t == wanted) return true;
        if (t == MFn::kBase) break;
    }
    return false;
}

}  // namespace hx
