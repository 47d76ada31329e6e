#include "platform/record_lock.h"

#include "platform/os_files.h"
#include "platform/run_time_error.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
{
    const QByteArray name = QFile::encodeName(hostPath);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        struct stat info {};
        // A link, a pipe or a socket in the lock file's place is not the program's: it goes.
        if (::lstat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            ::unlink(name.constData());
        fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (fd_ < 0 && (errno == EACCES || errno == EPERM))
            return;
        if (fd_ < 0)
            throw RunTimeError(errno == ELOOP || errno == EISDIR ? err::PathFileAccess : os::errorForOpen(errno, false, hostPath),
                               hostPath);
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
            os::closeFile(fd_);
            fd_ = -1;
            throw RunTimeError(err::PathFileAccess, hostPath);
        }

        int result;
        while ((result = tryLock(fd_)) == EAGAIN || result == EINTR) {
            if (std::chrono::steady_clock::now() >= deadline) {
                os::closeFile(fd_);
                fd_ = -1;
                throw RunTimeError(err::PathFileAccess, hostPath + QStringLiteral(": locked by another copy"));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (result == ENOLCK || result == EOPNOTSUPP)
            return;
        if (result != 0) {
            os::closeFile(fd_);
            fd_ = -1;
            throw RunTimeError(os::errorForIo(result), hostPath);
        }
        // A lock file removed or replaced meanwhile would be a lock nobody else takes.
        if (os::isFileAt(fd_, hostPath)) {
            held_ = true;
            return;
        }
        os::closeFile(fd_);
        fd_ = -1;
    }
}

RecordLock::~RecordLock()
{
    // Closing the lock file lets go of the lock.
    os::closeFile(fd_);
}

} // namespace desk
