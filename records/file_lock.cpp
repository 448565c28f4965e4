#include "file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "atomic_file.h"

namespace qv {
namespace {

int OpenLockFile(const std::string& lockPath) {
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | flags, 0666);
    return fd >= 0 ? fd : ::open(lockPath.c_str(), O_RDONLY | flags);
}

// True while the locked descriptor is still the file at the lock's name: a
// lock file removed or replaced meanwhile locks no one else out.
bool StillAtItsName(int fd, const std::string& lockPath) {
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::lstat(lockPath.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

std::chrono::milliseconds& LockPatience() {
    static std::chrono::milliseconds patience{10000};
    return patience;
}

namespace {

LockWaitNotice& Notice() {
    static LockWaitNotice notice;
    return notice;
}

// Ends the notice however the wait ends.
struct WaitTold {
    const std::string& Path;
    bool Told = false;
    void Waited(std::chrono::steady_clock::duration waited) {
        if (!Notice()) return;
        Told = true;
        Notice()(Path, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()));
    }
    ~WaitTold() {
        if (Told && Notice()) Notice()(Path, -1);
    }
};

}  // namespace

void SetLockWaitNotice(LockWaitNotice notice) { Notice() = std::move(notice); }

FileLock::~FileLock() { Release(); }

void FileLock::Release() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    fd_ = -1;
}

Result FileLock::Acquire(const std::string& path) {
    std::string target;
    // A target that cannot be written gets no lock file beside it.
    if (Result writable = WriteTarget(path, target); !writable.Ok) return writable;
    const std::string lockPath = target + ".lock";
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + LockPatience();
    auto pause = std::chrono::microseconds(200);
    WaitTold told{target};
    for (;;) {
        Release();
        fd_ = OpenLockFile(lockPath);
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) return SystemFault("cannot open the lock file", lockPath);
        if (!S_ISREG(st.st_mode)) {
            Release();
            return FileFault(EISDIR, lockPath + " is not a regular file, so it cannot lock " + target +
                                         "; nothing is written");
        }
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            if (StillAtItsName(fd_, lockPath)) return Result::Done();
            continue;  // lock the file that is there now
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return SystemFault("cannot lock", lockPath);
        if (std::chrono::steady_clock::now() >= deadline) {
            Release();
            return FileFault(EWOULDBLOCK, "another program is writing " + target + "; try again in a moment");
        }
        told.Waited(std::chrono::steady_clock::now() - start);
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

}  // namespace qv
