#include "TemporaryFiles.h"

#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace hx {
namespace temporaryFiles {
namespace {

// A fixed table, so that a signal handler can walk it without allocating or locking. A
// run has a handful of temporaries at a time (a frame's files, the writer's own, backups).
constexpr int kSlots = 64;
constexpr std::size_t kPathBytes = 4096;

enum SlotState : int { kFree, kFilling, kHeld };

struct Slot
{
    std::atomic<int> state{kFree};
    char path[kPathBytes];
};

Slot gSlots[kSlots];

std::recursive_mutex& lock()
{
    static std::recursive_mutex mutex;
    return mutex;
}

// Under lock(). False when the table is full or the path too long.
bool hold(const std::string& path)
{
    if (path.size() >= kPathBytes) return false;
    for (Slot& slot : gSlots) {
        if (slot.state.load() != kFree) continue;
        slot.state.store(kFilling);
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(kHeld);
        return true;
    }
    return false;
}

void release(const std::string& path)
{
    for (Slot& slot : gSlots)
        if (slot.state.load() == kHeld && path == slot.path) {
            slot.state.store(kFree);
            return;
        }
}

} // namespace

int create(std::string& pattern)
{
    std::lock_guard<std::recursive_mutex> guard(lock());
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return -1;
    if (!hold(pattern)) {
        ::close(fd);
        ::unlink(pattern.c_str());
        errno = EMFILE;
        return -1;
    }
    return fd;
}

bool link(const std::string& existing, std::string& pattern)
{
    std::lock_guard<std::recursive_mutex> guard(lock());
    static std::mt19937 random{std::random_device{}()};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::size_t x = pattern.rfind("XXXXXX");
    if (x == std::string::npos) {
        errno = EINVAL;
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = pattern;
        for (std::size_t i = x; i < x + 6; ++i) name[i] = kLetters[random() % (sizeof kLetters - 1)];
        if (::link(existing.c_str(), name.c_str()) == 0) {
            if (!hold(name)) {
                ::unlink(name.c_str());
                errno = EMFILE;
                return false;
            }
            pattern = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool rename(const std::string& temporary, const std::string& target)
{
    std::lock_guard<std::recursive_mutex> guard(lock());
    if (std::rename(temporary.c_str(), target.c_str()) != 0) return false;
    release(temporary);
    return true;
}

void remove(const std::string& temporary)
{
    std::lock_guard<std::recursive_mutex> guard(lock());
    ::unlink(temporary.c_str());
    release(temporary);
}

void forget(const std::string& temporary)
{
    std::lock_guard<std::recursive_mutex> guard(lock());
    release(temporary);
}

void removeAllNow()
{
    for (Slot& slot : gSlots)
        if (slot.state.load() == kHeld) {
            ::unlink(slot.path);
            slot.state.store(kFree);
        }
}

std::unique_lock<std::recursive_mutex> holdInterruptions()
{
    return std::unique_lock<std::recursive_mutex>(lock());
}

int count()
{
    int held = 0;
    for (const Slot& slot : gSlots) held += slot.state.load() == kHeld;
    return held;
}

} // namespace temporaryFiles
} // namespace hx
