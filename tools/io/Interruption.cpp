#include "Interruption.h"

#include "TemporaryFiles.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>

namespace hx {
namespace {

// The note, kept in a fixed buffer that a signal handler can read.
char gNote[1024] = "nothing was written";
std::atomic<const char*> gCrashWhat{nullptr};
// While a guard is armed, standard error is held in a file of its own; this is the real one.
// The guard and the interruption thread hand it over under the lock, so that an
// interruption's line never lands in the held file.
std::atomic<int> gRealError{-1};
std::mutex gStandardErrorLock;
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
struct sigaction gPreviousActions[sizeof kCrashSignals / sizeof kCrashSignals[0]];

void writeText(const char* text)
{
    [[maybe_unused]] const ssize_t ignored = ::write(2, text, std::strlen(text));
}

void writeLine(const char* what)
{
    // A progress line may be showing on a terminal: start afresh.
    if (::isatty(2)) writeText("\r\033[K");
    writeText("hxnoise: ");
    writeText(what);
    writeText("; ");
    writeText(gNote);
    writeText("\n");
}

const char* signalName(int signal)
{
    switch (signal) {
    case SIGINT: return "interrupted by SIGINT";
    case SIGTERM: return "interrupted by SIGTERM";
    case SIGHUP: return "interrupted by SIGHUP";
    default: return "interrupted";
    }
}

// Standard error back where it was, and what was held dropped: the library's last words
// before a crash ("double free or corruption", say) are the symptom, not the news.
void releaseStandardError()
{
    const int real = gRealError.exchange(-1);
    if (real >= 0) ::dup2(real, 2);
}

void onCrash(int signal)
{
    const char* what = gCrashWhat.load();
    temporaryFiles::removeAllNow();
    releaseStandardError();
    if (what) {
        writeLine(what);
        ::_exit(1);
    }
    // Not ours to explain after all: let the signal do what it would have done.
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

void endByInterruption(int signal)
{
    temporaryFiles::removeAllNow();
    writeLine(signalName(signal));
    std::signal(signal, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

sigset_t gStops;

void* waitForInterruption(void*)
{
    int signal = 0;
    if (sigwait(&gStops, &signal) != 0) return nullptr;
    // Never released: the process ends here, with a frame's renames either all done or none
    // begun, no new temporary made after the clean-up, and standard error its own again.
    const auto hold = temporaryFiles::holdInterruptions();
    gStandardErrorLock.lock();
    releaseStandardError();
    endByInterruption(signal);
    return nullptr;
}

// Where no thread can be had (the address space is that short), the signal is taken in a
// handler: the clean-up is the same, without waiting for a frame's renames to finish.
void onInterruption(int signal)
{
    endByInterruption(signal);
}

// A library that gives up by calling exit() (LLVM does when memory runs out) skips every
// destructor: its temporaries go here, and a guarded call says what happened.
void onExit()
{
    temporaryFiles::removeAllNow();
    releaseStandardError();
    if (const char* what = gCrashWhat.exchange(nullptr)) writeLine(what);
}

} // namespace

void catchInterruptions()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    std::atexit(onExit);
    sigemptyset(&gStops);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&gStops, signal);
    pthread_sigmask(SIG_BLOCK, &gStops, nullptr);

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024); // it needs little, and memory may be short
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const int started = pthread_create(&thread, &attributes, waitForInterruption, nullptr);
    pthread_attr_destroy(&attributes);
    if (started != 0) {
        pthread_sigmask(SIG_UNBLOCK, &gStops, nullptr);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, onInterruption);
    }
}

void setRunNote(const std::string& note)
{
    const auto hold = temporaryFiles::holdInterruptions();
    const std::size_t length = std::min<std::size_t>(note.size(), 900);
    std::memcpy(gNote, note.data(), length);
    gNote[length] = '\0';
}

CrashGuard::CrashGuard(const char* what) : mPrevious(gCrashWhat.exchange(what))
{
    if (mPrevious) return; // an outer guard has everything in place
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onCrash;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (std::size_t i = 0; i < sizeof kCrashSignals / sizeof kCrashSignals[0]; ++i)
        sigaction(kCrashSignals[i], &action, &gPreviousActions[i]);

    // Hold standard error: what the library writes is passed on when the guard ends.
    const std::lock_guard<std::mutex> handOver(gStandardErrorLock);
    std::cerr.flush();
    std::fflush(stderr);
    const int held = ::memfd_create("hxnoise-held-stderr", MFD_CLOEXEC);
    const int real = held < 0 ? -1 : ::fcntl(2, F_DUPFD_CLOEXEC, 3);
    if (real >= 0 && ::dup2(held, 2) >= 0) {
        mHeld = held;
        gRealError.store(real);
    } else {
        if (real >= 0) ::close(real);
        if (held >= 0) ::close(held);
    }
}

CrashGuard::~CrashGuard()
{
    gCrashWhat.store(mPrevious);
    if (mPrevious) return;
    for (std::size_t i = 0; i < sizeof kCrashSignals / sizeof kCrashSignals[0]; ++i)
        sigaction(kCrashSignals[i], &gPreviousActions[i], nullptr);

    if (mHeld < 0) return;
    {
        const std::lock_guard<std::mutex> handOver(gStandardErrorLock);
        std::cerr.flush();
        std::fflush(stderr);
        const int real = gRealError.exchange(-1);
        if (real >= 0) {
            ::dup2(real, 2);
            ::close(real);
        }
    }
    // Pass on what was held (a plug-in's status reports among it); a standard error that
    // cannot take it fails as if it had been written directly.
    bool passed = true;
    char buffer[4096];
    ::lseek(mHeld, 0, SEEK_SET);
    for (ssize_t got; (got = ::read(mHeld, buffer, sizeof buffer)) > 0;)
        for (ssize_t done = 0; done < got && passed;) {
            const ssize_t written = ::write(2, buffer + done, static_cast<std::size_t>(got - done));
            if (written < 0 && errno == EINTR) continue;
            passed = written > 0;
            done += written > 0 ? written : 0;
        }
    ::close(mHeld);
    if (!passed) std::cerr.setstate(std::ios::badbit);
}

} // namespace hx
