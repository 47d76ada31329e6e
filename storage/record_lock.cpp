#include "storage/record_lock.h"

#include "runtime/run_time_error.h"
#include "storage/file_owner.h"
#include "system/os_files.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <thread>

namespace desk {

namespace {

// Not an errno value: the wait for the lock ran out.
constexpr int waitRanOut = -1;

[[noreturn]] void refuse(RecordRefusal::Reason reason, const QString& hostPath)
{
    throw RecordRefusal(reason, {hostPath});
}

// The lock file, or -1 where this user may not make it. Throws the open errors, and what stands
// in its place when that is not a file of this user's.
int openLockFile(const QString& hostPath)
{
    const os::OpenedFile file = os::openLockFile(hostPath);
    if (file.error == EACCES || file.error == EPERM) {
        // A file this user may not open is another user's; only a folder that takes no new file
        // leaves the records without a lock.
        const os::Status there = os::statusAt(hostPath);
        if (there.error != 0)
            return -1;
        if (there.kind != os::Kind::File)
            refuse(RecordRefusal::Reason::NotAFile, hostPath);
        if (!ownedByThisUser(there, QFileInfo(hostPath).absolutePath()))
            refuse(RecordRefusal::Reason::OtherUsersFile, hostPath);
        throw RunTimeError(err::PermissionDenied, hostPath);
    }
    if (file.error == ELOOP || file.error == EISDIR || file.error == ENXIO)
        refuse(RecordRefusal::Reason::NotAFile, hostPath);
    if (file.error != 0)
        throw RunTimeError(os::errorForOpen(file.error, false, hostPath), hostPath);
    auto closing = qScopeGuard([&] { os::closeFile(file.fd); });
    const os::Status opened = os::statusOf(file.fd);
    if (opened.error != 0 || opened.kind != os::Kind::File)
        refuse(RecordRefusal::Reason::NotAFile, hostPath);
    if (!ownedByThisUser(opened, QFileInfo(hostPath).absolutePath()))
        refuse(RecordRefusal::Reason::OtherUsersFile, hostPath);
    closing.dismiss();
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
    : hostPath_(hostPath)
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
            refuse(RecordRefusal::Reason::AnotherCopyRecording, hostPath);
        if (result != 0)
            throw RunTimeError(os::errorForIo(result), hostPath);
    }
}

RecordLock::~RecordLock()
{
    // Closing the lock file lets go of the lock.
    os::closeFile(fd_);
}

bool RecordLock::isInPlace() const
{
    return held_ && os::isFileAt(fd_, hostPath_);
}

} // namespace desk
