// The calls a process made to the recording GL library (libhxglrecord), in order. Link it
// in place of libGL to see exactly what a locator's draw issued.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace hx::gl {

struct Call {
    Call(std::string name, std::vector<double> args = {}, std::string text = {})
        : mName(std::move(name)), mArgs(std::move(args)), mText(std::move(text)) {}

    std::string mName;          // "glVertex3f"
    std::vector<double> mArgs;  // its arguments, widened to double
    std::string mText;          // glCallLists of GL_UNSIGNED_BYTE: the characters (text drawn)
};

inline bool operator==(const Call& a, const Call& b) {
    return a.mName == b.mName && a.mArgs == b.mArgs && a.mText == b.mText;
}

// Every call since the last clear.
std::vector<Call> recordedCalls();
void clearRecordedCalls();
// One call a line, "glColor3f(1, 0, 0)", "glCallLists(\"label\")": handy in test failure messages.
std::string describe(const std::vector<Call>& calls);

}  // namespace hx::gl
