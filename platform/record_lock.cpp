#include "platform/record_lock.h"

#include "platform/os_files.h"
#include "platform/run_time_error.h"

#include <cerrno>
#include <fcntl.h>
#include <thread>

namespace desk {

namespace {

// 0 when taken, EAGAIN while another holder has it, or another errno.
int tryLock(int fd)
{
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    // An open file description lock belongs to this open of the file, not to the process, so no
    // other open of the same file in this process can drop it by closing.
    if (::fcntl(fd, F_OFD_SETLK, &whole) == 0)
        return 0;
    if (errno != EINVAL)
        return errno == EACCES ? EAGAIN : errno;
    whole = {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
#endif
    if (::fcntl(fd, F_SETLK, &whole) == 0)
        return 0;
    return errno == EACCES ? EAGAIN : errno;
}

} // namespace

RecordLock::RecordLock(const QString& hostPath, std::chrono::milliseconds wait)
    : fd_(os::openRegularFile(hostPath, O_RDWR | O_CREAT).fd)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int result = tryLock(fd_);
        // A share without lock support cannot keep two copies apart; recording still works.
        if (result == 0 || result == ENOLCK || result == EOPNOTSUPP)
            return;
        if (result != EAGAIN && result != EINTR) {
            os::closeFile(fd_);
            throw RunTimeError(os::errorForIo(result), hostPath);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            os::closeFile(fd_);
            throw RunTimeError(err::PathFileAccess, hostPath + QStringLiteral(": locked by another copy"));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

RecordLock::~RecordLock()
{
    // Closing the lock file lets go of the lock.
    os::closeFile(fd_);
}

} // namespace desk
