// Crash-safe replacement of a file: the new content goes to a scratch file of
// its own, created exclusively in the target's folder, is flushed to disk, and
// is renamed over the target in one step; the folder is flushed too, so a
// crash leaves the old or the new file. Reads take only regular files and
// never more than the format can hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/texts/result.h"
#include "engine/texts/text_ids.h"

namespace qv {

// The file-system steps of a replacement, one call each. The base class does
// them for real; a test derives from it to make any step fail.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Creates the file for writing, only when nothing of that name exists and
    // never through a link: its descriptor, or -1.
    virtual int Create(const std::string& path);
    virtual bool Write(int fd, std::string_view bytes);
    virtual bool Sync(int fd);
    virtual bool Close(int fd);
    virtual bool Rename(const std::string& from, const std::string& to);
    virtual bool SyncFolder(const std::string& folder);
    virtual void Remove(const std::string& path);
};

// The writer that does every step for real.
FileWriter& SystemWriter();

// Writes content over path through a scratch file that is private from its
// creation and takes the replaced file's permission bits, owner and group just
// before the rename (a new file takes the bits of modeFrom when given). A path
// that is a link of this user's or root's is written through: the file it
// points to is replaced in its own folder. What WriteTarget refuses, and a
// file whose owner or group this user could not keep, is refused. On failure
// path is untouched, no scratch file is left, and the result says why. A
// failed flush of the folder after the rename is not a failure.
Result ReplaceFile(FileWriter& writer, const std::string& path, std::string_view content,
                   const std::string& modeFrom = {});

// Writes a file the program keeps beside `of` (its backup, a damaged copy):
// never followed, whatever stands at path (a link, a FIFO) is replaced by the
// rename; a folder there is refused. It takes the looks of `of`.
Result ReplaceOwnFile(FileWriter& writer, const std::string& path, std::string_view content, const std::string& of);

// ReplaceFile with the real writer.
Result WriteFileAtomically(const std::string& path, std::string_view content);

// The file a write of path changes: path itself, or the file its link points
// to when the link is this user's or root's. Failed with the reason when the
// link is another user's or leads nowhere, or when the file
// cannot be replaced safely: not a regular file, a second name (hard link),
// no owner-write permission (root included), no folder.
Result WriteTarget(const std::string& path, std::string& target);

// Scratch files of writes to path that are still in its folder (a killed
// writer leaves one; the next write removes it once it is a minute old).
std::vector<std::string> ScratchFilesOf(const std::string& path);

// A read that failed may have failed only because nothing is there.
struct ReadResult : Result {
    bool Missing = false;
};

// Reads a regular file of at most `limit` bytes; anything else (a folder, a
// device, a FIFO, a longer file) is refused at once with the reason.
ReadResult ReadRegularFile(const std::string& path, size_t limit, std::string& content);

// ReadRegularFile with a generous limit.
Result ReadWholeFile(const std::string& path, std::string& content);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

// Makes the path's folder when it is missing, as the files of a data root
// need on a first run; a failure shows when the file is written.
void MakeFolderOf(const std::string& path);


// A failure whose reason is what that errno value means for a file.
Result FileFault(int cause, std::string detail);
// The step on path that just failed, with what errno says of it.
Result SystemFault(const std::string& what, const std::string& path);

}  // namespace qv
