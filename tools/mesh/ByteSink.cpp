#include "ByteSink.h"

#include "AtomicFile.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace hx {

void FileSink::write(const void* data, std::size_t size)
{
    if (size && std::fwrite(data, 1, size, mFile) != size)
        throw FileWriteError("cannot write " + mName + ": " + std::strerror(errno));
}

void FdSink::write(const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(mFd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw FileWriteError("cannot write " + mName + ": " + std::strerror(errno));
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

} // namespace hx
