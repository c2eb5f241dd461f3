// OutputPlan: every file a run reads and every file it will write, checked against each
// other before any work is done, so that no run writes over one of its own inputs or over
// another of its outputs, however the names are spelled.
//
// Files are compared by identity (OutputTarget.h): the same device and inode, or, for a
// file that does not exist yet, the same directory and name, with links followed. So
// "out.obj", "./out.obj", "sub/../out.obj", a hard link and a symbolic link to it are all
// one file. Every name a run will write goes in, each numbered frame name included:
//
//     OutputPlan plan;
//     plan.addInput("anim_0002.obj", "the input mesh anim_0002.obj");
//     for (int frame : range.frames())
//         plan.addOutput(framePath("anim.obj", frame, range),
//                        "-o anim.obj (frame " + std::to_string(frame) + ": ...)");
//     plan.check();  // throws OutputClash: "-o anim.obj (frame 2: anim_0002.obj) is the
//                    // input mesh anim_0002.obj; write the output to a new file"
#pragma once

#include "OneLineError.h"

#include "OutputTarget.h"

#include <string>
#include <vector>

namespace hx {

// Two names of one run are the same file. A mistake on the command line: exit code 2.
struct OutputClashKind;
using OutputClash = OneLineError<OutputClashKind>;

class OutputPlan
{
public:
    // `label` says how the user named the file, for the message: "the input mesh tet.obj",
    // "-o out.obj", "--render anim.png (frame 3: anim_0003.png)".
    void addInput(const std::string& path, const std::string& label);
    void addOutput(const std::string& path, const std::string& label);

    // Throws OutputClash naming both files when an output is an input or another output, and
    // FileWriteError when an output cannot be written where it is named (OutputTarget
    // refuses it, or its directory takes no new files). Leaves nothing behind.
    void check() const;

    const std::vector<std::string>& outputs() const { return mOutputPaths; }

private:
    struct Named
    {
        std::string path;
        std::string label;
    };
    std::vector<Named> mInputs;
    std::vector<Named> mOutputs;
    std::vector<std::string> mOutputPaths;
};

} // namespace hx
