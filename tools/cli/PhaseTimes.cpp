#include "PhaseTimes.h"

#include <sys/resource.h>
#include <cstdio>

namespace hx {

std::string PhaseTimes::report() const
{
    static const char* const kNames[kPhaseCount] = {"read", "set-up", "evaluate", "render", "write"};
    std::string text;
    for (int phase = 0; phase < kPhaseCount; ++phase) {
        char line[80];
        std::snprintf(line, sizeof line, "hxnoise: time %-8s %8.3f s (processor %.3f s)\n", kNames[phase],
                      mSeconds[phase], mProcessor[phase]);
        text += line;
    }
    return text;
}

double PhaseTimes::processorSeconds()
{
    rusage usage;
    if (::getrusage(RUSAGE_SELF, &usage) != 0) return 0.0;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace hx
