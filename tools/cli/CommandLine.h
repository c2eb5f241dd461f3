// The `hxnoise` command line: CLI11 reads it, our checks make it a plain request.
#pragma once

#include "DeformRequest.h"
#include "ViewRequest.h"

#include <string>

namespace hx {

struct CommandLine
{
    enum class Command { Deform, Info, View };

    // What to do now: run the command, or exit at once with `exitCode` after printing
    // `output` (help, to standard output) or `error` (one line, to standard error).
    enum class Action { Run, Exit };

    Action action = Action::Exit;
    int exitCode = 0; // 0 after help; 2 for a usage error
    std::string output;
    std::string error;

    Command command = Command::Deform;
    DeformRequest deform;
    InfoRequest info;
    ViewRequest view;
};

// The largest image side --size accepts; Mesa's own limit is higher, but a bigger picture
// of a viewport is almost surely a typo and would cost gigabytes.
constexpr int kMaxImageSide = 8192;
// Frames beyond this are almost surely a typo too, and each writes files.
constexpr int kMaxFrames = 100000;

// argv[0] is the program name. Never throws, never prints and reads no file: with --config,
// the request is checked once the file is read (deformRecipe).
CommandLine parseCommandLine(int argc, const char* const* argv);

// A deform run's options, checked: makeRecipe's checks, then the tool's own (`-` for standard
// input and output, the options that need each other). Throws UsageError,
// one line. The formats the names ask for are checked by the run, after it has made sure
// that no two names are one file.
Recipe checkDeformArguments(const RecipeArguments& arguments);

// The run `request` asks for: its recipe file's options (--config) with the command line's
// on top, checked as checkDeformArguments does. Throws UsageError, and ToolError for a
// recipe file that cannot be read.
Recipe deformRecipe(const DeformRequest& request);

} // namespace hx
