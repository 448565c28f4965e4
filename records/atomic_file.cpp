#include "atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>

namespace qv {
namespace {

constexpr size_t GenerousReadLimit = size_t{64} << 20;
constexpr int StaleScratchSeconds = 60;
constexpr std::string_view ScratchSuffix = ".tmp";
constexpr size_t ScratchTagLength = 6;

std::string BaseOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME." — every scratch file of a write to NAME begins so.
std::string ScratchPrefix(const std::string& path) { return "." + BaseOf(path) + "."; }

bool IsScratchName(std::string_view name, std::string_view prefix) {
    return name.size() == prefix.size() + ScratchTagLength + ScratchSuffix.size() && name.starts_with(prefix) &&
           name.ends_with(ScratchSuffix);
}

std::string RandomTag() {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 rng(std::random_device{}() ^ (static_cast<uint64_t>(getpid()) << 32));
    std::string tag(ScratchTagLength, 'x');
    for (char& c : tag) c = Letters[rng() % (sizeof Letters - 1)];
    return tag;
}

// Creates a scratch file of a name no one else uses; its descriptor or -1.
int CreateScratch(FileWriter& writer, const std::string& target, std::string& scratch) {
    const std::string stem = FolderOf(target) + "/" + ScratchPrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        scratch = stem + RandomTag() + std::string(ScratchSuffix);
        const int fd = writer.Create(scratch);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// A killed writer's scratch file is removed once no live writer can own it.
void RemoveStaleScratch(const std::string& target) {
    const time_t oldest = std::time(nullptr) - StaleScratchSeconds;
    for (const std::string& path : ScratchFilesOf(target)) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < oldest) ::unlink(path.c_str());
    }
}

// The umask, read once (reading it means setting it).
mode_t CreatedMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(022);
        ::umask(m);
        return m;
    }();
    return mask;
}

// The owner's write bit says what the owner wants, for root too; anyone else
// also needs the right to write it.
bool MayWrite(const struct stat& st, const std::string& path) {
    if ((st.st_mode & S_IWUSR) == 0) return false;
    return st.st_uid == ::geteuid() || ::geteuid() == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Refuses what a replacement cannot change safely: no regular file, a file
// with a second name (the rewrite would leave that name on the old content),
// a file without owner-write permission. A missing target needs its folder.
Result CheckExisting(const std::string& target) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) return SystemFault("cannot look at", target);
        struct stat folder {};
        if (::stat(FolderOf(target).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode)) return Result::Done();
        return FileFault(ENOENT, "the folder of " + target + " does not exist; nothing is written");
    }
    if (!S_ISREG(st.st_mode)) {
        return FileFault(EISDIR, target + (S_ISDIR(st.st_mode) ? " is a folder" : " is not a regular file") +
                                     "; it is left as it is");
    }
    if (st.st_nlink > 1) {
        return FileFault(EMLINK, target + " has " + std::to_string(st.st_nlink) +
                                     " names (hard links); a safe rewrite would leave the others on the old "
                                     "content, so it is left as it is");
    }
    if (!MayWrite(st, target)) return FileFault(EACCES, target + " is read-only; it is left as it is");
    return Result::Done();
}

// What the new file must look like: the permission bits, owner and group of
// the file it replaces (or of `like`), else a new file's usual bits.
struct Looks {
    mode_t Mode = 0;
    uid_t Owner = static_cast<uid_t>(-1);
    gid_t Group = static_cast<gid_t>(-1);
};

Looks LooksOf(const std::string& target, const std::string& like, bool likeOwner) {
    struct stat st {};
    Looks looks;
    looks.Mode = 0666 & ~CreatedMask();
    if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        likeOwner = true;
    } else if (like.empty() || ::stat(like.c_str(), &st) != 0) {
        return looks;
    }
    looks.Mode = st.st_mode & 07777;
    if (likeOwner) looks.Owner = st.st_uid, looks.Group = st.st_gid;
    return looks;
}

// Gives the private scratch file the looks of the file it replaces: owner and
// group first (a change of owner drops set-id bits), then the bits.
Result GiveLooks(int fd, const Looks& looks, const std::string& target) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return SystemFault("cannot look at the scratch file of", target);
    const bool otherOwner = looks.Owner != static_cast<uid_t>(-1) && looks.Owner != st.st_uid;
    const bool otherGroup = looks.Group != static_cast<gid_t>(-1) && looks.Group != st.st_gid;
    if ((otherOwner || otherGroup) && ::fchown(fd, looks.Owner, looks.Group) != 0) {
        return FileFault(EPERM, target + " belongs to another user or group, which a rewrite by this user "
                                         "could not keep; it is left as it is");
    }
    if ((st.st_mode & 07777) != looks.Mode && ::fchmod(fd, looks.Mode) != 0)
        return SystemFault("cannot keep the permissions of", target);
    return Result::Done();
}

// Writes the content, closes the descriptor in every case.
Result WriteAndClose(FileWriter& writer, int fd, const std::string& scratch, std::string_view content,
                     const Looks& looks, const std::string& target) {
    Result result = writer.Write(fd, content) ? GiveLooks(fd, looks, target) : SystemFault("cannot write", scratch);
    if (result.Ok && !writer.Sync(fd)) result = SystemFault("cannot flush", scratch);
    if (!writer.Close(fd) && result.Ok) result = SystemFault("cannot close", scratch);
    return result;
}

// A write beyond the file-size limit then fails with EFBIG like a full disk,
// instead of ending the program.
void IgnoreFileSizeSignal() {
    static const bool once = (std::signal(SIGXFSZ, SIG_IGN), true);
    (void)once;
}

}  // namespace

int FileWriter::Create(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
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

Result WriteTarget(const std::string& path, std::string& target) {
    struct stat st {};
    target = path;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return CheckExisting(target);
    // As the kernel's protected links: only a link of this user's (or root's)
    // may lead a write elsewhere; another user's could aim it at any file.
    if (st.st_uid != ::geteuid() && st.st_uid != 0) {
        return FileFault(ELOOP, path + " is a link that belongs to another user; it is not followed and "
                                       "nothing is written");
    }
    char real[PATH_MAX];
    if (!::realpath(path.c_str(), real)) return SystemFault("cannot follow the link", path);
    target = real;
    return CheckExisting(target);
}

std::vector<std::string> ScratchFilesOf(const std::string& path) {
    std::vector<std::string> found;
    const std::string folder = FolderOf(path), prefix = ScratchPrefix(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsScratchName(entry->d_name, prefix)) found.push_back(folder + "/" + entry->d_name);
    }
    ::closedir(dir);
    return found;
}

namespace {

// The replacement proper: target is the final name, already checked.
Result ReplaceTarget(FileWriter& writer, const std::string& target, std::string_view content, const Looks& looks) {
    IgnoreFileSizeSignal();
    RemoveStaleScratch(target);
    std::string scratch;
    const int fd = CreateScratch(writer, target, scratch);
    if (fd < 0) return SystemFault("cannot create a scratch file for", target);
    Result result = WriteAndClose(writer, fd, scratch, content, looks, target);
    if (result.Ok && !writer.Rename(scratch, target)) result = SystemFault("cannot replace", target);
    if (!result.Ok) {
        writer.Remove(scratch);
        return result;
    }
    writer.SyncFolder(FolderOf(target));
    return result;
}

}  // namespace

Result ReplaceFile(FileWriter& writer, const std::string& path, std::string_view content, const std::string& modeFrom) {
    std::string target;
    if (Result checked = WriteTarget(path, target); !checked.Ok) return checked;
    return ReplaceTarget(writer, target, content, LooksOf(target, modeFrom, false));
}

Result ReplaceOwnFile(FileWriter& writer, const std::string& path, std::string_view content, const std::string& of) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return FileFault(EEXIST, path + " is a folder, where this program keeps a file of its own; nothing is "
                                        "changed");
    }
    std::string original;
    if (Result checked = WriteTarget(of, original); !checked.Ok) return checked;
    // The rename replaces whatever stands at the name, a planted link included.
    return ReplaceTarget(writer, path, content, LooksOf({}, original, true));
}

Result WriteFileAtomically(const std::string& path, std::string_view content) {
    return ReplaceFile(SystemWriter(), path, content);
}

namespace {

// Reads what the open descriptor holds, never past limit + 1 bytes.
Result ReadUpTo(int fd, const struct stat& st, size_t limit, const std::string& path, std::string& content) {
    // Sized for what the file says it holds, grown only if it grows.
    content.resize(static_cast<size_t>(st.st_size) + 1);
    size_t got = 0;
    while (got <= limit) {
        if (got == content.size()) content.resize(std::min(content.size() * 2, limit + 1));
        const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return SystemFault("cannot read", path);
        got += static_cast<size_t>(n);
    }
    content.resize(got);
    if (got > limit) return FileFault(EFBIG, path + " grew beyond any such file while it was read");
    return Result::Done();
}

Result ReadOpened(int fd, size_t limit, const std::string& path, std::string& content) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return SystemFault("cannot open", path);
    if (!S_ISREG(st.st_mode)) return FileFault(EISDIR, path + (S_ISDIR(st.st_mode) ? " is a folder" : " is not a regular file"));
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        return FileFault(EFBIG, path + " is longer (" + std::to_string(st.st_size) + " bytes) than any such file");
    }
    return ReadUpTo(fd, st, limit, path, content);
}

}  // namespace

ReadResult ReadRegularFile(const std::string& path, size_t limit, std::string& content) {
    content.clear();
    ReadResult result;
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.Missing = errno == ENOENT;
        static_cast<Result&>(result) = SystemFault("cannot open", path);
        return result;
    }
    static_cast<Result&>(result) = ReadOpened(fd, limit, path, content);
    ::close(fd);
    if (!result.Ok) content.clear();
    return result;
}

Result ReadWholeFile(const std::string& path, std::string& content) {
    return ReadRegularFile(path, GenerousReadLimit, content);
}

namespace {

int FaultText(int cause) {
    switch (cause) {
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return DiskFullText;
        case EPERM:
            return OtherOwnerText;
        case EACCES:
        case EROFS:
            return NoWriteAccessText;
        case EWOULDBLOCK:
            return FileBusyText;
        case EISDIR:
            return NotAPlainFileText;
        case EMLINK:
            return HardLinkedText;
        case EEXIST:
            return OwnFileIsFolderText;
        case ELOOP:
            return ForeignLinkText;
        default:
            return CannotWriteFileText;
    }
}

}  // namespace

Result FileFault(int cause, std::string detail) { return Result::Failed(FaultText(cause), std::move(detail)); }

Result SystemFault(const std::string& what, const std::string& path) {
    const int cause = errno;
    return FileFault(cause, what + " " + path + ": " + std::strerror(cause));
}

}  // namespace qv
