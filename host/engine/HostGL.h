// The GL calls the host makes itself: the built-in locator's cross, M3dView's draw colour and
// text. They go to the GL the process provides (Mesa's in the hxnoise tool, the recorder in
// tests), bound when the library loads; in a process without GL they are left out. Calls
// go through drawGL, which checks first.
#pragma once

#include <GL/gl.h>

#pragma weak glBegin
#pragma weak glEnd
#pragma weak glVertex3f
#pragma weak glColor4f
#pragma weak glRasterPos3d
#pragma weak glCallLists

namespace hx {

// Whether the process has the GL entry points the host uses.
inline bool haveGL() { return glBegin && glEnd && glVertex3f && glColor4f && glRasterPos3d && glCallLists; }

}  // namespace hx
