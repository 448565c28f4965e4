// One writer at a time: an exclusive advisory lock on a lock file beside the
// file a read-modify-write changes (NAME.lock), held from the read to the
// rename. The lock file is never removed: a rename replaces the data file's
// inode, not the lock's; should something else remove or replace it, the lock
// is taken again on the file that is there. Readers need no lock, the rename being atomic.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "engine/texts/result.h"

namespace qv {

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock of path (of the file its link points to) at most
    // LockPatience(); failed with the reason (the file is busy when another
    // writer held it all that time). A target WriteTarget refuses is refused
    // here, before any lock file is made.
    Result Acquire(const std::string& path);

private:
    void Release();
    int fd_ = -1;
};

// How long a writer waits for another one; a test shortens it.
std::chrono::milliseconds& LockPatience();

// Told while a writer waits for another program's lock, so that a window can
// show that it waits: the file and the milliseconds waited so far, again and
// again while it waits, then once with -1 when the wait is over (either way).
using LockWaitNotice = std::function<void(const std::string& path, int waitedMs)>;
void SetLockWaitNotice(LockWaitNotice notice);

}  // namespace qv
