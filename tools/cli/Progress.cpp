#include "Progress.h"

#include <unistd.h>

namespace hx {

Progress::Progress(std::FILE* stream) : mStream(stream), mActive(::isatty(::fileno(stream)) == 1) {}

Progress::~Progress()
{
    clear();
}

void Progress::show(const std::string& text)
{
    if (!mActive) return;
    std::fprintf(mStream, "\r%s\033[K", text.c_str());
    std::fflush(mStream);
    mShowing = true;
}

void Progress::clear()
{
    if (!mActive || !mShowing) return;
    std::fputs("\r\033[K", mStream);
    std::fflush(mStream);
    mShowing = false;
}

} // namespace hx
