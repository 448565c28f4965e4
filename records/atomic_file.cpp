#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace qv {
namespace {

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// Writes the content, closes the descriptor in every case; false with error.
bool WriteAndClose(FileWriter& writer, int fd, const std::string& scratch, std::string_view content,
                   std::string& error) {
    bool ok = writer.Write(fd, content);
    if (!ok) error = SystemError("cannot write", scratch);
    if (ok && !writer.Sync(fd)) {
        error = SystemError("cannot flush", scratch);
        ok = false;
    }
    if (!writer.Close(fd) && ok) {
        error = SystemError("cannot close", scratch);
        ok = false;
    }
    return ok;
}

}  // namespace

int FileWriter::Create(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

bool FileWriter::Write(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool FileWriter::Sync(int fd) { return ::fsync(fd) == 0; }

bool FileWriter::Close(int fd) { return ::close(fd) == 0; }

bool FileWriter::Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool FileWriter::SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void FileWriter::Remove(const std::string& path) { ::unlink(path.c_str()); }

FileWriter& SystemWriter() {
    static FileWriter writer;
    return writer;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void MakeFolderOf(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(FolderOf(path), ec);
}

bool ReplaceFile(FileWriter& writer, const std::string& path, const std::string& scratch, std::string_view content,
                 std::string& error) {
    const int fd = writer.Create(scratch);
    if (fd < 0) {
        error = SystemError("cannot create", scratch);
        return false;
    }
    bool ok = WriteAndClose(writer, fd, scratch, content, error);
    if (ok && !writer.Rename(scratch, path)) {
        error = SystemError("cannot replace", path);
        ok = false;
    }
    if (!ok) {
        writer.Remove(scratch);
        return false;
    }
    writer.SyncFolder(FolderOf(path));
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error) {
    return ReplaceFile(SystemWriter(), path, path + ".tmp", content, error);
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = SystemError("cannot open", path);
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        error = SystemError("cannot read", path);
        return false;
    }
    content = buffer.str();
    return true;
}

}  // namespace qv
