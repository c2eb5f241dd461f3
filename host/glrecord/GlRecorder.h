// The calls a process made to the recording GL library (libhxglrecord), in order. Link it
// in place of libGL to see exactly what a locator's draw issued.
#pragma once

#include <string>
#include <vector>

namespace hx::gl {

struct Call {
    std::string mName;          // "glVertex3f"
    std::vector<double> mArgs;  // its arguments, widened to double
};

inline bool operator==(const Call& a, const Call& b) { return a.mName == b.mName && a.mArgs == b.mArgs; }

// Every call since the last clear.
std::vector<Call> recordedCalls();
void clearRecordedCalls();
// One call a line, "glColor3f(1, 0, 0)": handy in test failure messages.
std::string describe(const std::vector<Call>& calls);

}  // namespace hx::gl
