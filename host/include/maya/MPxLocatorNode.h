#ifndef _MPxLocatorNode
#define _MPxLocatorNode
//
// MPxLocatorNode: the base of locators, DAG shapes the viewport asks to draw themselves.
//
#if defined __cplusplus

#include <maya/MPxNode.h>
#include <maya/M3dView.h>
#include <maya/MBoundingBox.h>

class MDagPath;

class OPENMAYAUI_EXPORT MPxLocatorNode : public MPxNode
{
public:
    MPxLocatorNode();
    virtual ~MPxLocatorNode();
    virtual MPxNode::Type type() const;

    virtual void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style, M3dView::DisplayStatus);
    virtual bool isBounded() const;
    virtual MBoundingBox boundingBox() const;

    static const char* className();

    static MObject underWorldObject;
    static MObject localPosition;
    static MObject localPositionX;
    static MObject localPositionY;
    static MObject localPositionZ;
    static MObject worldPosition;
    static MObject worldPositionX;
    static MObject worldPositionY;
    static MObject worldPositionZ;
    static MObject localScale;
    static MObject localScaleX;
    static MObject localScaleY;
    static MObject localScaleZ;
    static MObject nodeBoundingBox;
    static MObject nodeBoundingBoxMin;
    static MObject nodeBoundingBoxMinX;
    static MObject nodeBoundingBoxMinY;
    static MObject nodeBoundingBoxMinZ;
    static MObject nodeBoundingBoxMax;
    static MObject nodeBoundingBoxMaxX;
    static MObject nodeBoundingBoxMaxY;
    static MObject nodeBoundingBoxMaxZ;
    static MObject nodeBoundingBoxSize;
    static MObject nodeBoundingBoxSizeX;
    static MObject nodeBoundingBoxSizeY;
    static MObject nodeBoundingBoxSizeZ;
    static MObject center;
    static MObject boundingBoxCenterX;
    static MObject boundingBoxCenterY;
    static MObject boundingBoxCenterZ;
    static MObject matrix;
    static MObject inverseMatrix;
    static MObject worldMatrix;
    static MObject worldInverseMatrix;
    static MObject parentMatrix;
    static MObject parentInverseMatrix;
    static MObject visibility;
    static MObject intermediateObject;
    static MObject instObjGroups;
};

#endif /* __cplusplus */
#endif /* _MPxLocatorNode */
