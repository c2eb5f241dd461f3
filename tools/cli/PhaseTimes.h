// PhaseTimes: where a run's time goes, for --timings: read, set-up, evaluate, render, write.
//
// Each phase adds up the wall time of every stretch spent in it (every frame's evaluation,
// say), and the processor time the process spent meanwhile (user and system, all threads):
// on a machine shared with other work, the wall time says what the user waited and the
// processor time what the phase cost. report() gives one line per phase, in seconds.
#pragma once

#include <array>
#include <chrono>
#include <string>

namespace hx {

class PhaseTimes
{
public:
    enum Phase { Read, SetUp, Evaluate, Render, Write, kPhaseCount };

    // Counts the time from construction to destruction towards `phase`.
    class Stretch
    {
    public:
        Stretch(PhaseTimes& times, Phase phase)
            : mTimes(times), mPhase(phase), mStart(Clock::now()), mProcessorStart(processorSeconds())
        {}
        ~Stretch()
        {
            mTimes.add(mPhase, std::chrono::duration<double>(Clock::now() - mStart).count(),
                       processorSeconds() - mProcessorStart);
        }
        Stretch(const Stretch&) = delete;
        Stretch& operator=(const Stretch&) = delete;

    private:
        PhaseTimes& mTimes;
        Phase mPhase;
        std::chrono::steady_clock::time_point mStart;
        double mProcessorStart;
    };

    void add(Phase phase, double wallSeconds, double processorSeconds)
    {
        mSeconds[phase] += wallSeconds;
        mProcessor[phase] += processorSeconds;
    }
    double seconds(Phase phase) const { return mSeconds[phase]; }
    double processor(Phase phase) const { return mProcessor[phase]; }

    // "hxnoise: time read 0.412 s (processor 0.398 s)\n" and so on, one line per phase.
    std::string report() const;

    // User and system time of the whole process so far.
    static double processorSeconds();

private:
    using Clock = std::chrono::steady_clock;
    std::array<double, kPhaseCount> mSeconds{};
    std::array<double, kPhaseCount> mProcessor{};
};

} // namespace hx
