// ByteSink: where a mesh or point-cache writer sends its bytes, so that the caller decides
// where they land: the atomic output step's temporary file (a FILE* or a descriptor),
// standard output for a pipe, or memory. The writers hand over large blocks.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace hx {

class ByteSink
{
public:
    virtual ~ByteSink() = default;
    // Writes all `size` bytes or throws FileWriteError (AtomicFile.h) naming the target.
    virtual void write(const void* data, std::size_t size) = 0;
};

// A stdio stream the caller owns (AtomicFile::stream(), say); `name` is for messages.
class FileSink : public ByteSink
{
public:
    FileSink(std::FILE* file, std::string name) : mFile(file), mName(std::move(name)) {}
    void write(const void* data, std::size_t size) override;

private:
    std::FILE* mFile;
    std::string mName;
};

// A file descriptor the caller owns (1 for standard output); short writes and EINTR are
// carried on, a closed pipe or a full disk throws.
class FdSink : public ByteSink
{
public:
    FdSink(int fd, std::string name) : mFd(fd), mName(std::move(name)) {}
    void write(const void* data, std::size_t size) override;

private:
    int mFd;
    std::string mName;
};

// Appends to a string: for tests and for callers that keep the bytes in memory.
class StringSink : public ByteSink
{
public:
    explicit StringSink(std::string& text) : mText(&text) {}
    void write(const void* data, std::size_t size) override { mText->append(static_cast<const char*>(data), size); }

private:
    std::string* mText;
};

} // namespace hx
