// AtomicFile: an output file that appears whole or not at all.
//
// Bytes go to a temporary file beside the target; commit() flushes, syncs and renames it over
// the target in one step. A run that fails (or throws) before commit() leaves the target as it
// was: the destructor removes the temporary file.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace hx {

// A file that could not be written; what() is one line naming the path and the reason.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AtomicFile {
public:
    // Creates the temporary file; throws FileWriteError when the target's directory is missing
    // or not writable, or when the target is a directory.
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The buffered stream to write to; valid until commit().
    std::FILE* stream() const { return mStream; }

    // Flushes, syncs and renames into place; throws FileWriteError on any write error seen so
    // far (a full disk shows up here), leaving the target untouched.
    void commit();

    const std::string& targetPath() const { return mTargetPath; }

private:
    [[noreturn]] void fail(const std::string& reason);

    std::string mTargetPath;
    std::string mTempPath;
    std::FILE* mStream = nullptr;
    bool mCommitted = false;
};

}  // namespace hx
