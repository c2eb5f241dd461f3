// TemporaryFiles: every temporary file the process has made and not yet renamed into place
// or removed, so that however the process ends (an error, SIGINT or SIGTERM, a crash in a
// library) none of them is left behind.
//
// A temporary is registered in the same step that creates it, under a lock that the
// interruption handler (Interruption.h) also takes, so an interruption sees every temporary
// that exists. removeAllNow() reads the register without locking, so a crash handler may
// call it.
#pragma once

#include <mutex>
#include <string>

namespace hx {
namespace temporaryFiles {

// Creates a new file from `pattern` (a path ending in "XXXXXX", which mkstemp replaces),
// registered. Returns its descriptor, or -1 with errno set; `pattern` then holds the name.
int create(std::string& pattern);

// Makes `existing` also known as a new registered name made from `pattern` (a hard link);
// false with errno set when the file system cannot.
bool link(const std::string& existing, std::string& pattern);

// Renames a registered temporary over `target` and forgets it; false with errno set on
// failure (the temporary stays registered).
bool rename(const std::string& temporary, const std::string& target);

// Removes a registered temporary and forgets it.
void remove(const std::string& temporary);

// Forgets a temporary that is gone by other means (renamed by the writer it was lent to).
void forget(const std::string& temporary);

// Removes every registered temporary at once. Async-signal-safe.
void removeAllNow();

// The lock that keeps interruptions out: while it is held, an interruption waits, so a
// frame's files are renamed into place all together or not at all.
std::unique_lock<std::recursive_mutex> holdInterruptions();

// How many temporaries are registered (for tests).
int count();

} // namespace temporaryFiles
} // namespace hx
