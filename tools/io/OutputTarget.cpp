#include "OutputTarget.h"

#include "TemporaryFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <tuple>

namespace hx {
namespace {

[[noreturn]] void refuse(const std::string& named, const std::string& reason)
{
    throw FileWriteError("cannot write " + named + ": " + reason);
}

std::string directoryOf(const std::string& path)
{
    const std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? std::string(".") : parent;
}

std::string nameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

// The links of `named` followed to the path that is not a link (and may not exist).
std::string followLinks(const std::string& named)
{
    std::string path = named;
    for (int hops = 0;; ++hops) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT) return path;
            refuse(named, std::strerror(errno));
        }
        if (!S_ISLNK(info.st_mode)) return path;
        if (hops == 40) refuse(named, std::strerror(ELOOP));
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) refuse(named, std::strerror(errno));
        target.resize(static_cast<std::size_t>(length));
        // A relative link is relative to the directory that holds it; the kernel resolves
        // "dir/../x" the same way whatever dir is.
        path = target.front() == '/' ? target : directoryOf(path) + "/" + target;
    }
}

mode_t newFileMode()
{
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// The longest prefix of `name` of at most `bytes` bytes that does not cut a UTF-8 character.
std::string prefixOf(const std::string& name, std::size_t bytes)
{
    if (name.size() <= bytes) return name;
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

std::string temporaryDirectory()
{
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

void writeAll(int fd, const char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw errno;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

} // namespace

bool FileIdentity::operator<(const FileIdentity& other) const
{
    return std::tie(device, inode, name) < std::tie(other.device, other.inode, other.name);
}

bool FileIdentity::operator==(const FileIdentity& other) const
{
    return device == other.device && inode == other.inode && name == other.name;
}

bool identityOf(const std::string& path, FileIdentity& identity, std::string& reason)
{
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        identity = FileIdentity{info.st_dev, info.st_ino, ""};
        return true;
    }
    std::string followed;
    try {
        followed = followLinks(path);
    } catch (const FileWriteError& refused) {
        reason = refused.what();
        return false;
    }
    const std::string directory = directoryOf(followed);
    if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        reason = "directory " + directory + " does not exist";
        return false;
    }
    identity = FileIdentity{info.st_dev, info.st_ino, nameOf(followed)};
    return true;
}

OutputTarget OutputTarget::resolve(const std::string& named)
{
    if (named.empty()) refuse(named, "no file name given");
    if (named.back() == '/') refuse(named, "it names a directory");

    OutputTarget target;
    target.named = named;
    // lstat first: most names are a plain file or nothing at all, and need no second look.
    struct stat info;
    bool exists = ::lstat(named.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) refuse(named, std::strerror(errno));
    const bool link = exists && S_ISLNK(info.st_mode);
    if (link) {
        exists = ::stat(named.c_str(), &info) == 0;
        if (!exists && errno != ENOENT) refuse(named, std::strerror(errno));
    }
    if (exists) {
        if (S_ISDIR(info.st_mode)) refuse(named, "it is a directory");
        if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
            // Opened by the name given: the kernel follows links such as /dev/stdout, whose
            // text names no file.
            target.kind = Kind::Stream;
            target.path = named;
            target.directory = directoryOf(named);
            target.name = nameOf(named);
            target.identity = FileIdentity{info.st_dev, info.st_ino, ""};
            return target;
        }
        if (S_ISBLK(info.st_mode)) refuse(named, "it is a block device; write to a file");
        if (S_ISSOCK(info.st_mode)) refuse(named, "it is a socket; write to a file");
        if (!S_ISREG(info.st_mode)) refuse(named, "it is not a regular file");
    }

    target.path = link ? followLinks(named) : named;
    target.directory = directoryOf(target.path);
    target.name = nameOf(target.path);
    struct stat directory;
    if (::stat(target.directory.c_str(), &directory) != 0 || !S_ISDIR(directory.st_mode))
        refuse(named, "directory " + target.directory + " does not exist");
    if (exists) {
        target.kind = Kind::ExistingFile;
        target.mode = info.st_mode & 0777;
        target.owner = info.st_uid;
        target.group = info.st_gid;
        target.identity = FileIdentity{info.st_dev, info.st_ino, ""};
    } else {
        target.kind = Kind::NewFile;
        target.mode = newFileMode();
        target.identity = FileIdentity{directory.st_dev, directory.st_ino, target.name};
    }
    return target;
}

std::string OutputTarget::temporaryPattern() const
{
    if (kind == Kind::Stream) return temporaryDirectory() + "/hxnoise-XXXXXX";
    // The dot keeps a temporary that a power cut left from looking like real output.
    static const std::string kSuffix = ".tmp-XXXXXX";
    const long limit = ::pathconf(directory.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : 255;
    const std::size_t room = nameMax > 1 + kSuffix.size() ? nameMax - 1 - kSuffix.size() : 1;
    return directory + "/." + prefixOf(name, room) + kSuffix;
}

void OutputTarget::applyOwnership(int fd) const
{
    if (kind == Kind::Stream) return;
    if (kind == Kind::ExistingFile && (owner != ::geteuid() || group != ::getegid())) {
        // Only a privileged process may give a file away; anyone may keep a group they
        // belong to. Neither failure stops the write.
        if (::fchown(fd, owner, group) != 0 && group != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), group);
        }
    }
    // After fchown, which may clear set-id bits; `mode` has none anyway.
    ::fchmod(fd, mode);
}

void OutputTarget::publish(const std::string& temporary) const
{
    if (kind != Kind::Stream) {
        if (!temporaryFiles::rename(temporary, path)) {
            const int error = errno;
            temporaryFiles::remove(temporary);
            refuse(named, std::strerror(error));
        }
        return;
    }
    int error = 0;
    const int in = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = in < 0 ? -1 : ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (in < 0 || out < 0) {
        error = errno;
    } else {
        try {
            char buffer[1 << 16];
            for (;;) {
                const ssize_t got = ::read(in, buffer, sizeof buffer);
                if (got < 0 && errno == EINTR) continue;
                if (got < 0) throw errno;
                if (got == 0) break;
                writeAll(out, buffer, static_cast<std::size_t>(got));
            }
        } catch (int thrown) {
            error = thrown;
        }
    }
    if (out >= 0 && ::close(out) != 0 && error == 0) error = errno;
    if (in >= 0) ::close(in);
    temporaryFiles::remove(temporary);
    if (error != 0) refuse(named, std::strerror(error));
}

} // namespace hx
