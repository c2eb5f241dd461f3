// FrameFiles: the files of one frame (a mesh, a picture, and whatever else a run writes),
// put in place together or not at all.
//
// Each file is first written in full to a temporary (write()); commit() puts them in place
// only when every one was written, and puts back what it had already replaced if a later
// rename fails. A FrameFiles destroyed without commit() removes its temporaries, and an
// interruption or a crash removes them too (TemporaryFiles.h). Targets are decided as
// OutputTarget.h describes: links followed, devices and FIFOs written directly.
//
//     FrameFiles frame;
//     frame.write("out_0003.obj", [&](const std::string& temporary) { mesh.write(temporary); });
//     frame.write("out_0003.png", [&](const std::string& temporary) { viewport.savePng(temporary); });
//     frame.commit();  // both files, or neither
#pragma once

#include "OutputTarget.h"

#include <functional>
#include <string>
#include <vector>

namespace hx {

class FrameFiles
{
public:
    FrameFiles() = default;
    ~FrameFiles();
    FrameFiles(const FrameFiles&) = delete;
    FrameFiles& operator=(const FrameFiles&) = delete;

    // Writes the file that will become `target`: `fill` is handed the path of a new, empty
    // temporary and writes the whole file there (a writer that itself writes through a
    // temporary and a rename, such as ObjMesh::write, is fine). Throws FileWriteError when
    // `target` cannot be written, and whatever `fill` throws; the frame's temporaries stay
    // until commit() or destruction either way.
    void write(const std::string& target, const std::function<void(const std::string& temporary)>& fill);

    // Puts every written file in place: devices and FIFOs get their bytes first, then the
    // files are renamed over their targets with interruptions held off. Throws
    // FileWriteError naming the file that failed; the targets are then as they were, except a
    // device or FIFO that had already been written.
    void commit();

private:
    struct Staged
    {
        OutputTarget target;
        std::string temporary;
    };
    std::vector<Staged> mStaged;
};

} // namespace hx
