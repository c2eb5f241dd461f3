// PhaseTimes: where a run's time goes, for --timings: read, set-up, evaluate, render, write.
//
// Each phase adds up the wall time of every stretch spent in it (every frame's evaluation,
// say); report() gives one line per phase, in seconds, in the order above.
#pragma once

#include <array>
#include <chrono>
#include <string>

namespace hx {

class PhaseTimes {
public:
    enum Phase { Read, SetUp, Evaluate, Render, Write, kPhaseCount };

    // Counts the time from construction to destruction towards `phase`.
    class Stretch {
    public:
        Stretch(PhaseTimes& times, Phase phase) : mTimes(times), mPhase(phase), mStart(Clock::now()) {}
        ~Stretch() { mTimes.add(mPhase, std::chrono::duration<double>(Clock::now() - mStart).count()); }
        Stretch(const Stretch&) = delete;
        Stretch& operator=(const Stretch&) = delete;

    private:
        PhaseTimes& mTimes;
        Phase mPhase;
        std::chrono::steady_clock::time_point mStart;
    };

    void add(Phase phase, double seconds) { mSeconds[phase] += seconds; }
    double seconds(Phase phase) const { return mSeconds[phase]; }

    // "hxnoise: time read 0.412 s\n" and so on, one line per phase.
    std::string report() const;

private:
    using Clock = std::chrono::steady_clock;
    std::array<double, kPhaseCount> mSeconds{};
};

}  // namespace hx
