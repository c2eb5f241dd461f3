// A GL 1.x library that does no drawing: each entry point appends its name and arguments to
// a list that tests read back through GlRecorder.h.
#include "GlRecorder.h"

#include <GL/gl.h>

#include <sstream>

namespace {

std::vector<hx::gl::Call>& calls() {
    static std::vector<hx::gl::Call> list;
    return list;
}

void record(const char* name, std::initializer_list<double> args = {}) { calls().push_back({name, args}); }

}  // namespace

namespace hx::gl {

std::vector<Call> recordedCalls() { return calls(); }
void clearRecordedCalls() { calls().clear(); }

std::string describe(const std::vector<Call>& list) {
    std::ostringstream text;
    for (const Call& call : list) {
        text << call.mName << "(";
        if (!call.mText.empty()) text << '"' << call.mText << '"';
        for (size_t i = 0; i < call.mArgs.size() && call.mText.empty(); ++i) text << (i ? ", " : "") << call.mArgs[i];
        text << ")\n";
    }
    return text.str();
}

}  // namespace hx::gl

extern "C" {

__attribute__((visibility("default"))) void glPushAttrib(GLbitfield mask) { record("glPushAttrib", {double(mask)}); }
__attribute__((visibility("default"))) void glPopAttrib(void) { record("glPopAttrib"); }
__attribute__((visibility("default"))) void glBegin(GLenum mode) { record("glBegin", {double(mode)}); }
__attribute__((visibility("default"))) void glEnd(void) { record("glEnd"); }
__attribute__((visibility("default"))) void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    record("glColor3f", {r, g, b});
}
__attribute__((visibility("default"))) void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glVertex3f", {x, y, z});
}
__attribute__((visibility("default"))) void glMatrixMode(GLenum mode) { record("glMatrixMode", {double(mode)}); }
__attribute__((visibility("default"))) void glLoadMatrixd(const GLdouble* m) {
    calls().push_back({"glLoadMatrixd", std::vector<double>(m, m + 16)});
}
__attribute__((visibility("default"))) void glPushMatrix(void) { record("glPushMatrix"); }
__attribute__((visibility("default"))) void glPopMatrix(void) { record("glPopMatrix"); }
__attribute__((visibility("default"))) void glLineWidth(GLfloat width) { record("glLineWidth", {width}); }
__attribute__((visibility("default"))) void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    record("glColor4f", {r, g, b, a});
}
__attribute__((visibility("default"))) void glRasterPos3d(GLdouble x, GLdouble y, GLdouble z) {
    record("glRasterPos3d", {x, y, z});
}
// Text comes as bytes; other list types are kept as their count and type.
__attribute__((visibility("default"))) void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    if (type == GL_UNSIGNED_BYTE && lists && n > 0)
        calls().push_back({"glCallLists", {}, std::string(static_cast<const char*>(lists), static_cast<size_t>(n))});
    else
        record("glCallLists", {double(n), double(type)});
}

}  // extern "C"
