// Interruption: how the process ends when it is told to stop or a library it relies on
// crashes, with a line that says why and no temporary file left behind.
//
// - SIGINT, SIGTERM and SIGHUP are taken by a thread of their own, which waits for a frame's
//   files to be committed (FrameFiles), removes every temporary, writes
//   "hxnoise: interrupted by SIGINT; NOTE" and ends the process by that same signal.
// - SIGPIPE and SIGXFSZ are ignored, so that a closed standard output or error, or the
//   file-size limit (`ulimit -f`), shows as a failed write that the tool reports.
// - CrashGuard, around calls into a library that crashes rather than fail when memory runs
//   out (the off-screen renderer), turns such a crash, or the library's own exit, into
//   "hxnoise: WHAT; NOTE" and exit 1. While it is armed, standard error is held: what the
//   library writes there is passed on when the guard ends, and dropped if it crashes (its
//   "double free or corruption" is a symptom; the line says what happened).
#pragma once

#include <string>

namespace hx {

// Call first thing in main, before any other thread exists (threads started later inherit
// the blocked signals, so only the interruption thread takes them).
void catchInterruptions();

// What has been done so far, for the line an interruption or a crash writes: "nothing was
// written", "frames 1..3 of 24 were written (out_0001.obj .. out_0003.obj)". At most 900
// bytes are kept.
void setRunNote(const std::string& note);

class CrashGuard
{
public:
    // `what` says what crashed and why it most likely did; it must outlive the guard.
    explicit CrashGuard(const char* what);
    ~CrashGuard();
    CrashGuard(const CrashGuard&) = delete;
    CrashGuard& operator=(const CrashGuard&) = delete;

private:
    const char* mPrevious;
    int mHeld = -1; // the file standard error goes to while the outermost guard is armed
};

} // namespace hx
