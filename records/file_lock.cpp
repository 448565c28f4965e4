#include "file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "atomic_file.h"

namespace qv {

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

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool FileLock::Acquire(const std::string& path, std::string& error) {
    std::string target;
    if (!WriteTarget(path, target, error)) return false;
    MakeFolderOf(target);
    const std::string lockPath = target + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0) fd_ = ::open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) {
        error = "cannot open the lock file " + lockPath + ": " + std::strerror(errno);
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + LockPatience();
    auto pause = std::chrono::microseconds(200);
    WaitTold told{target};
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error = "cannot lock " + lockPath + ": " + std::strerror(errno);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "another program is writing " + target + "; try again in a moment";
            errno = EWOULDBLOCK;
            return false;
        }
        told.Waited(std::chrono::steady_clock::now() - start);
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    return true;
}

}  // namespace qv
