#include <maya/MDagPath.h>
#include <maya/MPxLocatorNode.h>

#include "../engine/BaseAttributes.h"
#include "FnSet.h"

using hx::Access;

#define HX_BASE(member) Access::wrap(hx::baseAttributes().member.get())

MObject MPxLocatorNode::underWorldObject = HX_BASE(underWorldObject);
MObject MPxLocatorNode::localPosition = HX_BASE(localPosition);
MObject MPxLocatorNode::localPositionX = HX_BASE(localPositionX);
MObject MPxLocatorNode::localPositionY = HX_BASE(localPositionY);
MObject MPxLocatorNode::localPositionZ = HX_BASE(localPositionZ);
MObject MPxLocatorNode::worldPosition = HX_BASE(worldPosition);
MObject MPxLocatorNode::worldPositionX = HX_BASE(worldPositionX);
MObject MPxLocatorNode::worldPositionY = HX_BASE(worldPositionY);
MObject MPxLocatorNode::worldPositionZ = HX_BASE(worldPositionZ);
MObject MPxLocatorNode::localScale = HX_BASE(localScale);
MObject MPxLocatorNode::localScaleX = HX_BASE(localScaleX);
MObject MPxLocatorNode::localScaleY = HX_BASE(localScaleY);
MObject MPxLocatorNode::localScaleZ = HX_BASE(localScaleZ);
MObject MPxLocatorNode::nodeBoundingBox = HX_BASE(nodeBoundingBox);
MObject MPxLocatorNode::nodeBoundingBoxMin = HX_BASE(nodeBoundingBoxMin);
MObject MPxLocatorNode::nodeBoundingBoxMinX = HX_BASE(nodeBoundingBoxMinX);
MObject MPxLocatorNode::nodeBoundingBoxMinY = HX_BASE(nodeBoundingBoxMinY);
MObject MPxLocatorNode::nodeBoundingBoxMinZ = HX_BASE(nodeBoundingBoxMinZ);
MObject MPxLocatorNode::nodeBoundingBoxMax = HX_BASE(nodeBoundingBoxMax);
MObject MPxLocatorNode::nodeBoundingBoxMaxX = HX_BASE(nodeBoundingBoxMaxX);
MObject MPxLocatorNode::nodeBoundingBoxMaxY = HX_BASE(nodeBoundingBoxMaxY);
MObject MPxLocatorNode::nodeBoundingBoxMaxZ = HX_BASE(nodeBoundingBoxMaxZ);
MObject MPxLocatorNode::nodeBoundingBoxSize = HX_BASE(nodeBoundingBoxSize);
MObject MPxLocatorNode::nodeBoundingBoxSizeX = HX_BASE(nodeBoundingBoxSizeX);
MObject MPxLocatorNode::nodeBoundingBoxSizeY = HX_BASE(nodeBoundingBoxSizeY);
MObject MPxLocatorNode::nodeBoundingBoxSizeZ = HX_BASE(nodeBoundingBoxSizeZ);
MObject MPxLocatorNode::center = HX_BASE(center);
MObject MPxLocatorNode::boundingBoxCenterX = HX_BASE(boundingBoxCenterX);
MObject MPxLocatorNode::boundingBoxCenterY = HX_BASE(boundingBoxCenterY);
MObject MPxLocatorNode::boundingBoxCenterZ = HX_BASE(boundingBoxCenterZ);
MObject MPxLocatorNode::matrix = HX_BASE(matrix);
MObject MPxLocatorNode::inverseMatrix = HX_BASE(inverseMatrix);
MObject MPxLocatorNode::worldMatrix = HX_BASE(worldMatrix);
MObject MPxLocatorNode::worldInverseMatrix = HX_BASE(worldInverseMatrix);
MObject MPxLocatorNode::parentMatrix = HX_BASE(parentMatrix);
MObject MPxLocatorNode::parentInverseMatrix = HX_BASE(parentInverseMatrix);
MObject MPxLocatorNode::visibility = HX_BASE(visibility);
MObject MPxLocatorNode::intermediateObject = HX_BASE(intermediateObject);
MObject MPxLocatorNode::instObjGroups = HX_BASE(instObjGroups);

#undef HX_BASE

MPxLocatorNode::MPxLocatorNode() {}
MPxLocatorNode::~MPxLocatorNode() {}
MPxNode::Type MPxLocatorNode::type() const { return kLocatorNode; }
const char* MPxLocatorNode::className() { return "MPxLocatorNode"; }
void MPxLocatorNode::draw(M3dView&, const MDagPath&, M3dView::DisplayStyle, M3dView::DisplayStatus) {}
bool MPxLocatorNode::isBounded() const { return false; }
MBoundingBox MPxLocatorNode::boundingBox() const { return MBoundingBox(); }
