// A run that failed for a reason outside the command line: a file, the plug-in, the engine.
#pragma once

#include "OneLineError.h"

namespace hx {

// Exit code 1, one line on standard error (a mistake on the command line is a UsageError,
// exit code 2).
struct ToolErrorKind;
using ToolError = OneLineError<ToolErrorKind>;

} // namespace hx
