#include "platform/os_files.h"

#include "platform/run_time_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desk::os {

int errorForOpen(int errnoValue, bool forReading, const QString& hostPath)
{
    switch (errnoValue) {
    case ENOENT:
        if (forReading && QFileInfo(QFileInfo(hostPath).absolutePath()).isDir())
            return err::FileNotFound;
        return err::PathNotFound;
    case ENOTDIR: return err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return err::PermissionDenied;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return err::BadFileName;
    case ENOSPC:
    case EDQUOT: return err::DiskFull;
    case ENXIO:
    case ENODEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
        return err::DiskNotReady;
    default: return err::PathFileAccess;
    }
}

int errorForIo(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return err::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBADF: return err::PermissionDenied;
    default: return err::PathFileAccess;
    }
}

OpenedFile openRegularFile(const QString& hostPath, int flags)
{
    if (hostPath.isEmpty() || hostPath.contains(QChar(0)))
        throw RunTimeError(err::BadFileName, hostPath);
    const QByteArray name = QFile::encodeName(hostPath);
    const bool forReading = (flags & O_ACCMODE) == O_RDONLY;

    struct stat before {};
    const bool existed = ::lstat(name.constData(), &before) == 0;
    if (existed && !S_ISREG(before.st_mode))
        throw RunTimeError(err::PathFileAccess, hostPath);

    // O_NOFOLLOW and O_NONBLOCK keep the refusal above true even if the path changes meanwhile.
    const int openFlags = flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd;
    do
        fd = ::open(name.constData(), openFlags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw RunTimeError(errorForOpen(errno, forReading, hostPath), hostPath);

    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw RunTimeError(err::PathFileAccess, hostPath);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {fd, !existed};
}

int writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        data += n;
        size -= n;
    }
    return 0;
}

int syncFile(int fd)
{
    int result;
    do
        result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    if (result != 0 && errno != EINVAL && errno != EROFS)
        return errno;
    return 0;
}

int syncFolderOf(const QString& hostPath)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(hostPath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = syncFile(fd);
    ::close(fd);
    return result;
}

int truncateFile(int fd, long long length)
{
    int result;
    do
        result = ::ftruncate(fd, off_t(length));
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

bool isFileAt(int fd, const QString& hostPath)
{
    struct stat opened {}, atPath {};
    return ::fstat(fd, &opened) == 0 && ::lstat(QFile::encodeName(hostPath).constData(), &atPath) == 0
        && opened.st_dev == atPath.st_dev && opened.st_ino == atPath.st_ino;
}

long long sizeOf(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

void closeFile(int fd) noexcept
{
    if (fd >= 0)
        ::close(fd);
}

long maxNameBytes(const QString& hostPath)
{
    QString folder = QFileInfo(hostPath).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    const long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return limit > 0 ? limit : NAME_MAX;
}

bool nameRefused(const QString& hostPath)
{
    const QByteArray name = QFile::encodeName(hostPath);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(name.constData());
        return false;
    }
    return errno == EINVAL || errno == EILSEQ || errno == ENAMETOOLONG;
}

} // namespace desk::os
