#include "PngFile.h"

#include "AtomicFile.h"

#include <png.h>
#include <zlib.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace hx {
namespace {

void appendBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A "Comment" text chunk: tEXt holds Latin-1, so text with any other byte goes in an
// uncompressed iTXt, which holds UTF-8.
std::vector<std::uint8_t> commentChunk(const std::string& comment)
{
    bool ascii = true;
    for (const char c : comment) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    std::string body = "Comment";
    body += '\0';
    if (!ascii) body.append("\0\0\0\0", 4); // no compression, no language, no translated keyword
    body += comment;
    std::vector<std::uint8_t> chunk;
    appendBigEndian(chunk, static_cast<std::uint32_t>(body.size()));
    const char* type = ascii ? "tEXt" : "iTXt";
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    const uLong crc = ::crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4)); // type and data
    appendBigEndian(chunk, static_cast<std::uint32_t>(crc));
    return chunk;
}

} // namespace

void writePng(const std::string& path, int width, int height, const std::uint8_t* rgba, bool bottomUp,
              const std::string& comment)
{
    AtomicFile file(path);
    // libpng's simplified API reports errors through the image's message, not longjmp, which
    // keeps C++ destructors (and so the temporary file's removal) safe.
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    const png_int_32 stride = bottomUp ? -4 * width : 4 * width; // negative: bottom-up rows
    if (!comment.empty()) {
        // The simplified API writes no text chunk: the image goes to memory, and the chunk in
        // after the header, where readers look for it first.
        png_alloc_size_t size = 0;
        if (!png_image_write_get_memory_size(image, size, 0, rgba, stride, nullptr)) {
            const std::string reason = image.message;
            png_image_free(&image);
            throw FileWriteError("cannot write " + path + ": " + reason);
        }
        std::vector<std::uint8_t> bytes(size);
        if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba, stride, nullptr)) {
            const std::string reason = image.message;
            png_image_free(&image);
            throw FileWriteError("cannot write " + path + ": " + reason);
        }
        bytes.resize(size);
        const std::vector<std::uint8_t> chunk = commentChunk(comment);
        constexpr std::size_t kAfterHeader = 8 + 25; // the signature, then IHDR's 13 bytes in 25
        bytes.insert(bytes.begin() + kAfterHeader, chunk.begin(), chunk.end());
        std::fwrite(bytes.data(), 1, bytes.size(), file.stream());
        file.commit(); // a failed write shows here
        return;
    }
    errno = 0;
    if (!png_image_write_to_stdio(&image, file.stream(), 0, rgba, stride, nullptr)) {
        // libpng says "Write Error" for any failed write: the system's reason (a full disk,
        // the file-size limit) says more.
        const int error = errno;
        const std::string reason = std::ferror(file.stream()) && error ? std::strerror(error) : image.message;
        png_image_free(&image);
        throw FileWriteError("cannot write " + path + ": " + reason);
    }
    file.commit();
}

} // namespace hx
