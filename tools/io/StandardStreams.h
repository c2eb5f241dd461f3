// StandardStreams: standard output and error as outputs that can fail like any file. With
// SIGPIPE ignored (Interruption.h), a reader that went away or the file-size limit shows as
// a failed write; the tool checks before it commits a frame and before it exits, and says so.
#pragma once

#include "OneLineError.h"

#include <string>

namespace hx {

// Standard output or error could not be written; what() is one line.
struct StreamClosedErrorKind;
using StreamClosedError = OneLineError<StreamClosedErrorKind>;

// Flushes std::cout and std::cerr (and C's stdout and stderr); throws StreamClosedError
// ("cannot write to standard output: Broken pipe") when either has failed so far.
void checkStandardStreams();

// Writes one error line to standard error, or to standard output when standard error
// cannot take it.
void reportError(const std::string& line);

} // namespace hx
