#include "BuiltinLocator.h"

#include "HostGL.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPxLocatorNode.h>

namespace hx {

namespace {

class BuiltinLocator : public MPxLocatorNode {
public:
    void draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle, M3dView::DisplayStatus) override {
        if (!haveGL()) return;
        const MPoint c = position();
        const MVector s = scale();
        view.beginGL();
        glBegin(GL_LINES);
        for (int axis = 0; axis < 3; ++axis) {
            MVector half;
            half[axis] = s[axis];
            const MPoint from = c - half, to = c + half;
            glVertex3f(float(from.x), float(from.y), float(from.z));
            glVertex3f(float(to.x), float(to.y), float(to.z));
        }
        glEnd();
        view.endGL();
    }

    bool isBounded() const override { return true; }

    MBoundingBox boundingBox() const override {
        const MPoint c = position();
        const MVector s = scale();
        return MBoundingBox(c - s, c + s);
    }

private:
    MVector triple(const MObject& x, const MObject& y, const MObject& z) const {
        MFnDependencyNode fn(thisMObject());
        return MVector(fn.findPlug(x).asDouble(), fn.findPlug(y).asDouble(), fn.findPlug(z).asDouble());
    }
    MPoint position() const { return MPoint(triple(localPositionX, localPositionY, localPositionZ)); }
    MVector scale() const { return triple(localScaleX, localScaleY, localScaleZ); }
};

}  // namespace

void* createBuiltinLocator() { return new BuiltinLocator(); }

}  // namespace hx
