#ifndef _M3dView
#define _M3dView
//
// M3dView: a 3-D viewport. Including it brings in the system's OpenGL (and GLX) API, so a
// locator can issue GL calls between beginGL() and endGL().
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MColor.h>
#include <maya/MPoint.h>
#include <maya/MString.h>

#include <GL/gl.h>
#include <GL/glx.h>
#if defined(__has_include)
#if __has_include(<X11/Intrinsic.h>)
#include <X11/Intrinsic.h>
#endif
#endif

namespace hx {
class Access;
}

class OPENMAYAUI_EXPORT M3dView
{
public:
    enum DisplayStyle {
        kBoundingBox = 0,
        kFlatShaded = 1,
        kGouraudShaded = 2,
        kWireFrame = 3,
        kPoints = 4
    };

    enum DisplayStatus {
        kActive = 0,
        kLive = 1,
        kDormant = 2,
        kInvisible = 3,
        kHilite = 4,
        kTemplate = 5,
        kActiveTemplate = 6,
        kActiveComponent = 7,
        kLead = 8,
        kIntermediateObject = 9,
        kActiveAffected = 10,
        kNoStatus = 11
    };

    enum ColorTable {
        kActiveColors = kActive,
        kDormantColors = kDormant,
        kTemplateColor = kTemplate,
        kBackgroundColor
    };

    enum TextPosition {
        kLeft,
        kCenter,
        kRight
    };

    M3dView();
    virtual ~M3dView();

    static M3dView active3dView(MStatus* ReturnStatus = NULL);

    MStatus beginGL();
    MStatus endGL();
    int portWidth(MStatus* ReturnStatus = NULL);
    int portHeight(MStatus* ReturnStatus = NULL);
    Display* display(MStatus* ReturnStatus = NULL);
    GLXContext glxContext(MStatus* ReturnStatus = NULL);

    // The colour of what is drawn next (glColor4f). An index picks one of the 16 entries of
    // the host's colour table: 0 black, 1 white, 2 red, 3 green, 4 blue, 5 yellow, 6 cyan,
    // 7 magenta, 8 orange, 9 violet, 10 dark green, 11 brown, 12-14 greys (0.75, 0.5, 0.25),
    // 15 pink; the active colours as they are, the dormant ones at 0.6 of them, the
    // template ones at 0.4, the background at 0.2.
    MStatus setDrawColor(const MColor& color);
    MStatus setDrawColor(unsigned int index, ColorTable table = kActiveColors);
    // Text at a point of the current model space: the raster position goes there
    // (glRasterPos3d) and the characters are drawn through the current font's display
    // lists (glCallLists). The host keeps no font of its own, so the text starts at the
    // position whatever `textPosition` asks.
    void drawText(const MString& text, const MPoint position, TextPosition textPosition = kLeft);

private:
    friend class hx::Access;
    int mWidth;
    int mHeight;
    int mGLDepth;  // beginGL() calls not yet matched by endGL()
};

#endif /* __cplusplus */
#endif /* _M3dView */
