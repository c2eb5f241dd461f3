//
// MarkerLocator.cpp
//
// markerLocator: a locator drawn as a square of side 2 * size in the xz plane, in a colour
// of the host's colour table (its colour index; the dormant shade unless the locator is
// active), with its label in white above the square's centre. Written as a host user writes
// a locator, in the host's C++98 dialect.
//
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MPxLocatorNode.h>

class markerLocator : public MPxLocatorNode
{
public:
    static void* creator() { return new markerLocator; }
    static MStatus initialize();

    virtual void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style, M3dView::DisplayStatus status);
    virtual bool isBounded() const;
    virtual MBoundingBox boundingBox() const;

    static MTypeId id;
    static MObject size;
    static MObject colourIndex;
    static MObject label;

private:
    double sizeValue() const;
};

MTypeId markerLocator::id(0x70104);
MObject markerLocator::size;
MObject markerLocator::colourIndex;
MObject markerLocator::label;

MStatus markerLocator::initialize()
{
    MFnUnitAttribute unitFn;
    size = unitFn.create("size", "sz", MDistance(1.0, MDistance::kCentimeters));
    unitFn.setKeyable(true);

    MFnNumericAttribute numericFn;
    colourIndex = numericFn.create("colourIndex", "ci", MFnNumericData::kInt, 8);
    numericFn.setMin(0);
    numericFn.setMax(15);

    MFnStringData stringFn;
    MFnTypedAttribute typedFn;
    label = typedFn.create("label", "lb", MFnData::kString, stringFn.create("marker"));

    MStatus status = addAttribute(size);
    if (status) status = addAttribute(colourIndex);
    if (status) status = addAttribute(label);
    return status;
}

double markerLocator::sizeValue() const
{
    MPlug plug(thisMObject(), size);
    MDistance value;
    plug.getValue(value);
    return value.asCentimeters();
}

void markerLocator::draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle, M3dView::DisplayStatus status)
{
    MFnDependencyNode fn(thisMObject());
    const float s = (float)sizeValue();
    const int index = fn.findPlug(colourIndex).asInt();
    const MString text = fn.findPlug(label).asString();

    view.beginGL();
    view.setDrawColor(index, status == M3dView::kActive ? M3dView::kActiveColors : M3dView::kDormantColors);
    glBegin(GL_LINES);
    const float corners[5][2] = {{-s, -s}, {s, -s}, {s, s}, {-s, s}, {-s, -s}};
    for (int i = 0; i < 4; ++i) {
        glVertex3f(corners[i][0], 0.0f, corners[i][1]);
        glVertex3f(corners[i + 1][0], 0.0f, corners[i + 1][1]);
    }
    glEnd();
    view.setDrawColor(MColor(1.0f, 1.0f, 1.0f));
    view.drawText(text, MPoint(0.0, s, 0.0), M3dView::kCenter);
    view.endGL();
}

bool markerLocator::isBounded() const
{
    return true;
}

MBoundingBox markerLocator::boundingBox() const
{
    const double s = sizeValue();
    return MBoundingBox(MPoint(-s, 0.0, -s), MPoint(s, s, s));
}

// A locator registers with the kind of node it is.
MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0", "Any");
    const MString classification("drawdb/geometry/markerLocator");
    return plugin.registerNode("markerLocator", markerLocator::id, &markerLocator::creator, &markerLocator::initialize,
                               MPxNode::kLocatorNode, &classification);
}

MStatus uninitializePlugin(MObject obj)
{
    return MFnPlugin(obj).deregisterNode(markerLocator::id);
}
