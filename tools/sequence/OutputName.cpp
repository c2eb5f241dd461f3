#include "OutputName.h"

#include "ValueParse.h"

#include <algorithm>

namespace hx {
namespace {

std::size_t nameStart(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

} // namespace

bool hasFrameNumber(const std::string& path)
{
    return path.find('#', nameStart(path)) != std::string::npos;
}

void checkFramePattern(const std::string& path, const std::string& option)
{
    const std::size_t start = nameStart(path);
    if (path.find('#') < start)
        throw UsageError(option + " '" + path +
                         "' has # in a folder name; the frame number goes in the file name, "
                         "e.g. renders/shot.####.png");
    const std::size_t run = path.find('#', start);
    if (run == std::string::npos) return;
    const std::size_t runEnd = path.find_first_not_of('#', run);
    if (runEnd != std::string::npos && path.find('#', runEnd) != std::string::npos)
        throw UsageError(option + " '" + path +
                         "' has more than one run of #; one run stands for the frame number, "
                         "e.g. shot.####.obj");
}

std::string paddedFrame(int frame, int width)
{
    std::string digits = std::to_string(frame < 0 ? -static_cast<long long>(frame) : frame);
    const std::size_t sign = frame < 0 ? 1 : 0;
    const std::size_t wanted = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (digits.size() + sign < wanted) digits.insert(0, wanted - digits.size() - sign, '0');
    return (sign ? "-" : "") + digits;
}

std::string framePath(const std::string& path, int frame, const FrameRange& range, const std::string& option)
{
    checkFramePattern(path, option);
    const std::size_t start = nameStart(path);
    const std::size_t run = path.find('#', start);
    if (run != std::string::npos) {
        const std::size_t runEnd = std::min(path.find_first_not_of('#', run), path.size());
        return path.substr(0, run) + paddedFrame(frame, static_cast<int>(runEnd - run)) + path.substr(runEnd);
    }

    // Every name of the run has the width of its widest frame number, four at least.
    const std::size_t widest = std::max(std::to_string(range.first).size(), std::to_string(range.last).size());
    const std::string number = paddedFrame(frame, static_cast<int>(std::max<std::size_t>(4, widest)));
    std::size_t dot = path.find_last_of('.');
    // ".hidden" is a name, not an extension.
    if (dot == std::string::npos || dot <= start) dot = path.size();
    return path.substr(0, dot) + "_" + number + path.substr(dot);
}

} // namespace hx
