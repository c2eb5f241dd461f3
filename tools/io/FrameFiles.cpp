#include "FrameFiles.h"

#include "TemporaryFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace hx {

FrameFiles::~FrameFiles()
{
    for (const Staged& staged : mStaged)
        if (!staged.temporary.empty()) temporaryFiles::remove(staged.temporary);
}

void FrameFiles::write(const std::string& target, const std::function<void(const std::string&)>& fill)
{
    Staged staged{OutputTarget::resolve(target), ""};
    std::string temporary = staged.target.temporaryPattern();
    const int fd = temporaryFiles::create(temporary);
    if (fd < 0) throw FileWriteError("cannot write " + target + ": " + std::strerror(errno));
    ::close(fd);
    staged.temporary = temporary;
    mStaged.push_back(staged);
    try {
        fill(temporary);
    } catch (const FileWriteError& error) {
        // The writer names the file it was given; the user knows it by the target's name.
        std::string message = error.what();
        for (std::size_t at = message.find(temporary); at != std::string::npos; at = message.find(temporary, at))
            message.replace(at, temporary.size(), target);
        throw FileWriteError(message);
    }
    // The writer may have replaced the temporary with a file of its own; the result gets
    // the target's mode and owner whatever the writer gave it.
    if (staged.target.kind != OutputTarget::Kind::Stream) {
        const int written = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
        if (written < 0) throw FileWriteError("cannot write " + target + ": " + std::strerror(errno));
        staged.target.applyOwnership(written);
        ::close(written);
    }
}

void FrameFiles::commit()
{
    // A FIFO's reader may take its time: streams are written before interruptions are held
    // off, so that Ctrl-C still ends a run that waits for one.
    for (Staged& staged : mStaged)
        if (staged.target.kind == OutputTarget::Kind::Stream) {
            const std::string temporary = staged.temporary;
            staged.temporary.clear();
            staged.target.publish(temporary);
        }

    const auto hold = temporaryFiles::holdInterruptions();
    // Each file that is replaced keeps a second name (a hard link) until every rename has
    // succeeded, so that a failed rename can put the earlier ones back.
    struct Done
    {
        const Staged* staged;
        std::string backup; // empty: nothing was there before
    };
    std::vector<Done> done;
    const auto putBack = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            if (it->backup.empty())
                ::unlink(it->staged->target.path.c_str());
            else
                temporaryFiles::rename(it->backup, it->staged->target.path);
        }
    };
    for (Staged& staged : mStaged) {
        if (staged.temporary.empty()) continue;
        std::string backup;
        struct stat info;
        if (::lstat(staged.target.path.c_str(), &info) == 0) {
            backup = staged.target.temporaryPattern();
            if (!temporaryFiles::link(staged.target.path, backup)) backup.clear(); // best effort
        }
        if (!temporaryFiles::rename(staged.temporary, staged.target.path)) {
            const int error = errno;
            if (!backup.empty()) temporaryFiles::remove(backup);
            putBack();
            throw FileWriteError("cannot write " + staged.target.named + ": " + std::strerror(error));
        }
        staged.temporary.clear();
        done.push_back({&staged, backup});
    }
    for (const Done& d : done)
        if (!d.backup.empty()) temporaryFiles::remove(d.backup);
}

} // namespace hx
