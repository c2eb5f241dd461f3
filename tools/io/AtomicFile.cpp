#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hx {
namespace {

std::string directoryOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// New files get the usual 0666 less the umask; an existing file keeps its own mode, so that
// replacing it does not quietly change who may read it.
mode_t modeForTarget(const std::string& target)
{
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : mTargetPath(std::move(targetPath))
{
    const std::string dir = directoryOf(mTargetPath);
    struct stat info;
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw FileWriteError("cannot write " + mTargetPath + ": directory " + dir +
                             " does not exist");
    if (::stat(mTargetPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw FileWriteError("cannot write " + mTargetPath + ": it is a directory");

    // The temporary name starts with a dot so that a crash leaves no file that looks like
    // real output; rename() within one directory is atomic on POSIX file systems.
    const std::string name = std::filesystem::path(mTargetPath).filename().string();
    std::string pattern = dir + "/." + name + ".tmp-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw FileWriteError("cannot write " + mTargetPath + ": " + std::strerror(errno));
    mTempPath = pattern;
    ::fchmod(fd, modeForTarget(mTargetPath));
    mStream = ::fdopen(fd, "wb");
    if (!mStream) {
        ::close(fd);
        ::unlink(mTempPath.c_str());
        throw FileWriteError("cannot write " + mTargetPath + ": " + std::strerror(errno));
    }
    static constexpr size_t kBufferBytes = 1 << 20;
    std::setvbuf(mStream, nullptr, _IOFBF, kBufferBytes);
}

AtomicFile::~AtomicFile()
{
    if (mStream) std::fclose(mStream);
    if (!mCommitted && !mTempPath.empty()) ::unlink(mTempPath.c_str());
}

void AtomicFile::fail(const std::string& reason)
{
    if (mStream) std::fclose(mStream);
    mStream = nullptr;
    ::unlink(mTempPath.c_str());
    mTempPath.clear();
    throw FileWriteError("cannot write " + mTargetPath + ": " + reason);
}

void AtomicFile::commit()
{
    if (!mStream) throw FileWriteError("cannot write " + mTargetPath + ": already committed");
    if (std::fflush(mStream) != 0 || std::ferror(mStream)) fail(std::strerror(errno));
    // Sync before the rename: otherwise a power cut could leave the new name on empty data.
    if (::fsync(::fileno(mStream)) != 0) fail(std::strerror(errno));
    std::FILE* stream = mStream;
    mStream = nullptr;
    if (std::fclose(stream) != 0) fail(std::strerror(errno));
    if (std::rename(mTempPath.c_str(), mTargetPath.c_str()) != 0) fail(std::strerror(errno));
    mCommitted = true;
}

}  // namespace hx
