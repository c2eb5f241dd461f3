// A progress line for long work, shown on standard error only when it is a terminal, so
// logs and pipes get no carriage returns.
#pragma once

#include <cstdio>
#include <string>

namespace hx {

class Progress
{
public:
    explicit Progress(std::FILE* stream = stderr);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    bool active() const { return mActive; }
    // Replaces the line with `text`.
    void show(const std::string& text);
    // Clears the line so the next output starts clean.
    void clear();

private:
    std::FILE* mStream;
    bool mActive;
    bool mShowing = false;
};

} // namespace hx
