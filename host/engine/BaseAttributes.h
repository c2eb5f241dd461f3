// The host's own attribute definitions, shared by every node type built on the same base
// (the API's static MObjects, such as MPxDeformerNode::envelope, name them). Made once, on
// first use, and never changed after.
#pragma once

#include "Attribute.h"

namespace hx {

struct BaseAttributes {
    BaseAttributes();

    Ref<Attribute> message, isHistoricallyInteresting, caching, nodeState;
    // DAG nodes
    Ref<Attribute> matrix, inverseMatrix, worldMatrix, worldInverseMatrix, parentMatrix, parentInverseMatrix,
        visibility, intermediateObject;
    // transform
    Ref<Attribute> translate, translateX, translateY, translateZ;
    Ref<Attribute> rotate, rotateX, rotateY, rotateZ;
    Ref<Attribute> scale, scaleX, scaleY, scaleZ;
    Ref<Attribute> rotateOrder;
    // mesh
    Ref<Attribute> inMesh, outMesh;
    // locator shapes
    Ref<Attribute> underWorldObject, localPosition, localPositionX, localPositionY, localPositionZ;
    Ref<Attribute> worldPosition, worldPositionX, worldPositionY, worldPositionZ;
    Ref<Attribute> localScale, localScaleX, localScaleY, localScaleZ;
    Ref<Attribute> nodeBoundingBox, nodeBoundingBoxMin, nodeBoundingBoxMinX, nodeBoundingBoxMinY, nodeBoundingBoxMinZ,
        nodeBoundingBoxMax, nodeBoundingBoxMaxX, nodeBoundingBoxMaxY, nodeBoundingBoxMaxZ, nodeBoundingBoxSize,
        nodeBoundingBoxSizeX, nodeBoundingBoxSizeY, nodeBoundingBoxSizeZ;
    Ref<Attribute> center, boundingBoxCenterX, boundingBoxCenterY, boundingBoxCenterZ;
    Ref<Attribute> instObjGroups;
    // deformers
    Ref<Attribute> input, inputGeom, groupId, outputGeom, envelope, weightList, weights;
    // time
    Ref<Attribute> outTime;
};

const BaseAttributes& baseAttributes();

}  // namespace hx
