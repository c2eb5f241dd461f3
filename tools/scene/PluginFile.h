// Where the hxNoise plug-in and the bundled example mesh are found.
#pragma once

#include <string>

namespace hx {

// The directory holding the running hxnoise executable.
std::string executableDirectory();

// The plug-in to load: `requested` (from --plugin) made absolute, so that a bare
// "hxNoise.so" means the file in the current directory rather than a library path search;
// else hxNoise.so beside the executable, else in the build tree's src/ beside tools/.
// Throws ToolError naming the places it looked.
std::string locatePlugin(const std::string& requested);

}  // namespace hx
