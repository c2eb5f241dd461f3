#include "AtomicFile.h"

#include "TemporaryFiles.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace hx {

AtomicFile::AtomicFile(std::string targetPath) : mTarget(OutputTarget::resolve(targetPath))
{
    std::string pattern = mTarget.temporaryPattern();
    const int fd = temporaryFiles::create(pattern);
    if (fd < 0) throw FileWriteError("cannot write " + mTarget.named + ": " + std::strerror(errno));
    mTempPath = pattern;
    mTarget.applyOwnership(fd);
    mStream = ::fdopen(fd, "wb");
    if (!mStream) {
        const int error = errno;
        ::close(fd);
        temporaryFiles::remove(mTempPath);
        throw FileWriteError("cannot write " + mTarget.named + ": " + std::strerror(error));
    }
    static constexpr size_t kBufferBytes = 1 << 20;
    std::setvbuf(mStream, nullptr, _IOFBF, kBufferBytes);
}

AtomicFile::~AtomicFile()
{
    if (mStream) std::fclose(mStream);
    if (!mCommitted && !mTempPath.empty()) temporaryFiles::remove(mTempPath);
}

void AtomicFile::fail(int error)
{
    if (mStream) std::fclose(mStream);
    mStream = nullptr;
    temporaryFiles::remove(mTempPath);
    mTempPath.clear();
    throw FileWriteError("cannot write " + mTarget.named + ": " + std::strerror(error));
}

void AtomicFile::commit()
{
    if (!mStream) throw FileWriteError("cannot write " + mTarget.named + ": already committed");
    if (std::fflush(mStream) != 0 || std::ferror(mStream)) fail(errno ? errno : EIO);
    // Sync before the rename: otherwise a power cut could leave the new name on empty data.
    // A stream's bytes are copied from the temporary, which needs no sync.
    if (mTarget.kind != OutputTarget::Kind::Stream && ::fsync(::fileno(mStream)) != 0) fail(errno);
    std::FILE* stream = mStream;
    mStream = nullptr;
    if (std::fclose(stream) != 0) fail(errno);
    const std::string temporary = mTempPath;
    mTempPath.clear(); // publish() renames or removes it, whatever happens
    mTarget.publish(temporary);
    mCommitted = true;
}

} // namespace hx
