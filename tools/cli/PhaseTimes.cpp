#include "PhaseTimes.h"

#include <cstdio>

namespace hx {

std::string PhaseTimes::report() const
{
    static const char* const kNames[kPhaseCount] = {"read", "set-up", "evaluate", "render", "write"};
    std::string text;
    for (int phase = 0; phase < kPhaseCount; ++phase) {
        char line[80];
        std::snprintf(line, sizeof line, "hxnoise: time %-8s %8.3f s\n", kNames[phase], mSeconds[phase]);
        text += line;
    }
    return text;
}

}  // namespace hx
