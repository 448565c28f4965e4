// Crash-safe replacement of a file: the new content goes to a temporary file
// in the same folder, is flushed to disk, and is renamed over the target in
// one step; the folder is flushed too, so a crash leaves the old or the new file.
#pragma once

#include <string>
#include <string_view>

namespace qv {

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);
bool CopyFileAtomically(const std::string& from, const std::string& to, std::string& error);
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);

}  // namespace qv
