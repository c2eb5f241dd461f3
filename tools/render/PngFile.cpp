#include "PngFile.h"

#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <png.h>

namespace hx {

void writePng(const std::string& path, int width, int height, const std::uint8_t* rgba,
              bool bottomUp)
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
    const png_int_32 stride = bottomUp ? -4 * width : 4 * width;  // negative: bottom-up rows
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

}  // namespace hx
