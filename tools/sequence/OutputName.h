// OutputName: the file each frame of a sequence writes, from the name given with -o or --render.
//
// A run of # in the file name is the frame number, zero-padded to the run's length and never
// cut short: "shot.####.obj" is shot.1001.obj on frame 1001, and shot.12345.obj on 12345. The
// padding counts a minus sign as printf's %04d does (frame -5 in "####" is "-005"). A name
// without # gets "_NNNN" before its extension ("out.obj" -> out_0001.obj), with four digits
// or more when the range's frames need them, so a run's names sort in frame order; only the
// # form names a frame the same way whatever range it is in, which is what farm chunks need.
//
// One run of # per name: "a.##.##.obj" is refused rather than guessed at, and so is a # in a
// folder name, since frames write files, not folders.
#pragma once

#include "FrameRange.h"

#include <string>

namespace hx {

// The name holds a run of # in its file name (after the last '/').
bool hasFrameNumber(const std::string& path);

// Refuses, with UsageError naming `option` ("-o", "--render"), a name with # in a folder
// name or with more than one run of #.
void checkFramePattern(const std::string& path, const std::string& option);

// `frame`'s file for `path` in a run over `range` (checked as checkFramePattern does).
std::string framePath(const std::string& path, int frame, const FrameRange& range, const std::string& option = "-o");

// `frame` in `width` characters or more, zero-padded after any minus sign.
std::string paddedFrame(int frame, int width);

} // namespace hx
