// OneLineError: the tool's errors. Each kind is a type of its own, so that a caller catches
// exactly the failures it can answer (a UsageError exits 2, a ToolError 1, a MeshReadError
// names the file and line), and every what() is one line for the user.
#pragma once

#include <stdexcept>

namespace hx {

// An error of kind `Kind`, a tag type that only tells the kinds apart: declare the kind and
// name the error, `struct FileWriteErrorKind; using FileWriteError = OneLineError<FileWriteErrorKind>;`.
template <class Kind>
class OneLineError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace hx
