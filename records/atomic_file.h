// Crash-safe replacement of a file: the new content goes to a scratch file in
// the same folder, is flushed to disk, and is renamed over the target in one
// step; the folder is flushed too, so a crash leaves the old or the new file.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The file-system steps of a replacement, one call each. The base class does
// them for real; a test derives from it to make any step fail.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Creates or truncates the file for writing: its descriptor, or -1.
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

// Writes content to scratch, flushes it and renames it over path. On failure
// the scratch file is removed, path is untouched and error says why. A failed
// flush of the folder after the rename is not a failure: the new file is in place.
bool ReplaceFile(FileWriter& writer, const std::string& path, const std::string& scratch, std::string_view content,
                 std::string& error);

// ReplaceFile with the real writer and path + ".tmp" as the scratch file.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

// Makes the path's folder when it is missing, as the files of a data root
// need on a first run; a failure shows when the file is written.
void MakeFolderOf(const std::string& path);

}  // namespace qv
