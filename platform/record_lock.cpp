#include "platform/record_lock.h"

#include "platform/os_files.h"
#include "platform/run_time_error.h"

#include <cerrno>
#include <thread>

namespace desk {

namespace {

// Not an errno value: the wait for the lock ran out.
constexpr int waitRanOut = -1;

// The lock file, or -1 where this user may not make it. Throws the open errors.
int openLockFile(const QString& hostPath)
{
    // A link, a pipe or a socket in the lock file's place is not the program's: it goes.
    const os::Status there = os::statusAt(hostPath);
    if (there.error == 0 && there.kind == os::Kind::Other)
        os::removeFile(hostPath);
    const os::Opened file = os::openLockFile(hostPath);
    if (file.error == EACCES || file.error == EPERM)
        return -1;
    if (file.error != 0)
        throw RunTimeError(file.error == ELOOP || file.error == EISDIR ? err::PathFileAccess
                                                                      : os::errorForOpen(file.error, false, hostPath),
                           hostPath);
    const os::Status opened = os::statusOf(file.fd);
    if (opened.error != 0 || opened.kind != os::Kind::File) {
        os::closeFile(file.fd);
        throw RunTimeError(err::PathFileAccess, hostPath);
    }
    return file.fd;
}

// 0 when the lock is taken, waitRanOut, or the errno value of the system's refusal.
int waitForLock(int fd, std::chrono::steady_clock::time_point deadline)
{
    int result;
    while ((result = os::lockWholeFile(fd)) == EAGAIN || result == EINTR) {
        if (std::chrono::steady_clock::now() >= deadline)
            return waitRanOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return result;
}

} // namespace

RecordLock::RecordLock(const QString& hostPath, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        fd_ = openLockFile(hostPath);
        if (fd_ < 0)
            return;
        const int result = waitForLock(fd_, deadline);
        if (result == ENOLCK || result == EOPNOTSUPP)
            return;
        // A lock file removed or replaced meanwhile would be a lock nobody else takes.
        if (result == 0 && os::isFileAt(fd_, hostPath)) {
            held_ = true;
            return;
        }
        os::closeFile(fd_);
        fd_ = -1;
        if (result == waitRanOut)
            throw RunTimeError(err::PathFileAccess, hostPath + QStringLiteral(": locked by another copy"));
        if (result != 0)
            throw RunTimeError(os::errorForIo(result), hostPath);
    }
}

RecordLock::~RecordLock()
{
    // Closing the lock file lets go of the lock.
    os::closeFile(fd_);
}

} // namespace desk
