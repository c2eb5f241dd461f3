// A run that failed for a reason outside the command line: a file, the plug-in, the engine.
#pragma once

#include <stdexcept>

namespace hx {

// Exit code 1, one line on standard error (a mistake on the command line is a UsageError,
// exit code 2).
class ToolError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace hx
