#include "StandardStreams.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace hx {
namespace {

// The first failure of each stream, with its reason; later checks report the same.
std::string gFailure[2];

// Why a stream that failed some time ago failed: a pipe whose reader has gone says so when
// polled; anything else is told as an I/O error.
int reasonOf(int fd)
{
    pollfd probe{fd, POLLOUT, 0};
    if (::poll(&probe, 1, 0) == 1 && (probe.revents & POLLERR)) return EPIPE;
    return EIO;
}

void check(std::ostream& stream, std::FILE* file, int fd, int which, const char* name)
{
    if (!gFailure[which].empty()) return;
    const bool failedBefore = !stream || std::ferror(file);
    errno = 0;
    stream.flush();
    const bool streamFailed = !stream;
    const int streamError = errno;
    errno = 0;
    const bool fileFailed = std::fflush(file) != 0 || std::ferror(file);
    int error = streamFailed ? streamError : errno;
    if (failedBefore || error == 0) error = reasonOf(fd);
    if (streamFailed || fileFailed)
        gFailure[which] = std::string("cannot write to ") + name + ": " + std::strerror(error);
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

void checkStandardStreams()
{
    check(std::cout, stdout, 1, 0, "standard output");
    check(std::cerr, stderr, 2, 1, "standard error");
    for (const std::string& failure : gFailure)
        if (!failure.empty()) throw StreamClosedError(failure);
}

void reportError(const std::string& line)
{
    std::cout.flush();
    const std::string text = line + "\n";
    if (gFailure[1].empty() && std::cerr.good() && writeAll(2, text)) return;
    writeAll(1, text);
}

} // namespace hx
