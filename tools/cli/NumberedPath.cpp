#include "NumberedPath.h"

#include <algorithm>

namespace hx {

std::string numberedPath(const std::string& path, int frame, int frameCount)
{
    const std::size_t digits = std::max<std::size_t>(4, std::to_string(frameCount).size());
    std::string number = std::to_string(frame);
    number.insert(0, digits > number.size() ? digits - number.size() : 0, '0');

    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.find_last_of('.');
    // ".hidden" is a name, not an extension.
    if (dot == std::string::npos || dot <= nameStart) dot = path.size();
    return path.substr(0, dot) + "_" + number + path.substr(dot);
}

}  // namespace hx
