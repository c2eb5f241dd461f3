// OutputTarget: what writing to a path means, decided before a byte is written.
//
// - A regular file, or a name that does not exist yet, is replaced (or created) whole: the
//   bytes go to a temporary file beside it that is renamed over it. A replaced file keeps
//   its permission bits (never its set-user-id, set-group-id or sticky bits) and, where the
//   process may, its owner and group. (Other hard links to it keep the old content, as with
//   any editor's save.)
// - A symbolic link is followed, to any depth, and the file it names is replaced: the link
//   stays a link, as after a shell's `>` or `cp`. A link that names nothing yet creates the
//   file it names.
// - A character device (/dev/null, a terminal) or a FIFO is written directly, once the
//   bytes are complete; it is never replaced by a regular file.
// - Anything else is refused: a directory, a block device, a socket, a name in a directory
//   that does not exist, a loop of links.
#pragma once

#include "OneLineError.h"

#include <sys/types.h>
#include <string>

namespace hx {

// A file that could not be written; what() is one line naming the path and the reason.
struct FileWriteErrorKind;
using FileWriteError = OneLineError<FileWriteErrorKind>;

// Which file a path names, however it is spelled: the device and inode of an existing file
// (links followed), else the device and inode of the directory it would be made in and its
// name there.
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    std::string name; // empty for an existing file

    bool operator<(const FileIdentity& other) const;
    bool operator==(const FileIdentity& other) const;
};

// The identity of `path`; false (with `reason`) when its directory cannot be found.
bool identityOf(const std::string& path, FileIdentity& identity, std::string& reason);

struct OutputTarget
{
    enum class Kind {
        NewFile,      // nothing there yet: created by renaming a temporary
        ExistingFile, // a regular file: replaced by renaming a temporary over it
        Stream,       // a character device or FIFO: written directly
    };

    Kind kind = Kind::NewFile;
    std::string named;     // the path as given
    std::string path;      // where the bytes go: `named` with its links followed (a stream: as named)
    std::string directory; // the directory that holds `path`
    std::string name;      // `path`'s last component
    mode_t mode = 0;       // permission bits the result gets
    uid_t owner = 0;       // ExistingFile: its owner and group, kept where the process may
    gid_t group = 0;
    FileIdentity identity;

    // Decides for `named`; throws FileWriteError ("cannot write NAMED: REASON") for what is
    // refused.
    static OutputTarget resolve(const std::string& named);

    // A pattern for mkstemp beside the target (or, for a stream, in the temporary-files
    // directory) whose name stays within the file system's limit however long the target's
    // name is: ".NAME.tmp-XXXXXX", NAME shortened when needed.
    std::string temporaryPattern() const;

    // Puts the finished temporary in place: renamed over `path`, or, for a stream, its bytes
    // copied into it. Throws FileWriteError; the temporary is gone either way.
    void publish(const std::string& temporary) const;

    // Gives the temporary the mode, owner and group the result must have (best effort for
    // the owner, which only a privileged process may give away).
    void applyOwnership(int fd) const;
};

} // namespace hx
