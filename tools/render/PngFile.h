// Writing an RGBA image as a PNG file, whole or not at all.
#pragma once

#include <cstdint>
#include <string>

namespace hx {

// rgba: width * height pixels of 4 bytes. bottomUp: the first row in memory is the image's
// bottom row, as OpenGL reads pixels. Throws FileWriteError naming the path and the reason;
// an existing file at `path` is left untouched on failure. A `comment` that is not empty goes
// into a text chunk with the keyword "Comment" (tEXt, or iTXt when it is not plain ASCII).
void writePng(const std::string& path, int width, int height, const std::uint8_t* rgba, bool bottomUp,
              const std::string& comment = "");

} // namespace hx
