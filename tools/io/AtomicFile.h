// AtomicFile: an output file that appears whole or not at all.
//
// Bytes go to a temporary file beside the target; commit() flushes, syncs and renames it over
// the target in one step. A run that fails (or throws) before commit() leaves the target as it
// was: the destructor removes the temporary file, and so does an interruption or a crash
// (TemporaryFiles.h). Links, devices and FIFOs are handled as OutputTarget.h describes.
#pragma once

#include "OutputTarget.h"

#include <cstdio>
#include <string>

namespace hx {

class AtomicFile
{
public:
    // Creates the temporary file; throws FileWriteError when the target's directory is missing
    // or not writable, or when the target is a directory or anything else OutputTarget refuses.
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The buffered stream to write to; valid until commit().
    std::FILE* stream() const { return mStream; }

    // Flushes, syncs and renames into place; throws FileWriteError on any write error seen so
    // far (a full disk or the file-size limit shows up here), leaving the target untouched.
    void commit();

    const std::string& targetPath() const { return mTarget.named; }

private:
    [[noreturn]] void fail(int error);

    OutputTarget mTarget;
    std::string mTempPath;
    std::FILE* mStream = nullptr;
    bool mCommitted = false;
};

} // namespace hx
