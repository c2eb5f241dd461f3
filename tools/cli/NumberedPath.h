// Names of per-frame outputs: "out.obj", frame 7 of 120 -> "out_0007.obj".
#pragma once

#include <string>

namespace hx {

// Frame numbers start at 1 and have at least four digits, more when the frame count needs
// them, so the files sort in frame order. The suffix goes before the last extension of the
// file name (never into a directory name); a name without extension gets it at the end.
std::string numberedPath(const std::string& path, int frame, int frameCount);

}  // namespace hx
