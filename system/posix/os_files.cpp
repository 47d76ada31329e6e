// The calls for files on POSIX systems (Linux): file descriptors, fcntl locks, fsync.

#include "system/os_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desk::os {

namespace {

int flagsFor(Access access)
{
    switch (access) {
    case Access::Read: return O_RDONLY;
    case Access::Replace: return O_WRONLY | O_CREAT | O_TRUNC;
    case Access::Append: return O_WRONLY | O_CREAT | O_APPEND;
    case Access::Private: return O_RDWR | O_CREAT;
    }
    return O_RDONLY;
}

Status statusFrom(int result, const struct stat& info)
{
    if (result != 0)
        return {errno, Kind::Other, 0};
    const Kind kind = S_ISREG(info.st_mode) ? Kind::File
        : S_ISDIR(info.st_mode)             ? Kind::Folder
                                            : Kind::Other;
    return {0, kind, static_cast<long long>(info.st_size), static_cast<long long>(info.st_uid)};
}

OpenedFile openNoFollow(const QString& hostPath, int flags, mode_t mode = 0666)
{
    const QByteArray name = QFile::encodeName(hostPath);
    const int fd = ::open(name.constData(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, mode);
    return {fd, fd < 0 ? errno : 0};
}

} // namespace

OpenedFile openRegularFile(const QString& hostPath, Access access)
{
    if (hostPath.isEmpty() || hostPath.contains(QChar(0)))
        return {-1, EINVAL};
    return openRegularFile(QFile::encodeName(hostPath), access);
}

OpenedFile openRegularFile(const QByteArray& name, Access access)
{
    struct stat info { };
    const Status before = statusFrom(::lstat(name.constData(), &info), info);
    const bool existed = before.error == 0;
    if (existed && before.kind != Kind::File)
        return {-1, NotRegularFile};

    // O_NOFOLLOW and O_NONBLOCK keep the refusal above true even if the path changes meanwhile.
    const int openFlags = flagsFor(access) | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    const mode_t mode = access == Access::Private ? 0600 : 0666;
    int fd;
    do
        fd = ::open(name.constData(), openFlags, mode);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return {-1, errno};

    const Status opened = statusOf(fd);
    if (opened.error != 0 || opened.kind != Kind::File) {
        ::close(fd);
        return {-1, NotRegularFile};
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {fd, 0, !existed};
}

OpenedFile openForWriting(const QString& hostPath)
{
    return openNoFollow(hostPath, O_WRONLY);
}

OpenedFile openLockFile(const QString& hostPath)
{
    return openNoFollow(hostPath, O_RDWR | O_CREAT, 0600);
}

int lockWholeFile(int fd)
{
    struct flock whole { };
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

int readToEnd(int fd, QByteArray& into, qsizetype atMost)
{
    char buffer[65536];
    while (into.size() < atMost) {
        const ssize_t n =
            ::read(fd, buffer, size_t(std::min<qsizetype>(sizeof buffer, atMost - into.size())));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        into.append(buffer, n);
    }
    return 0;
}

int readAt(int fd, long long offset, QByteArray& into, qsizetype atMost)
{
    into.resize(atMost);
    qsizetype got = 0;
    while (got < atMost) {
        const ssize_t n = ::pread(fd, into.data() + got, size_t(atMost - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            into.resize(got);
            return errno;
        }
        if (n == 0)
            break;
        got += n;
    }
    into.resize(got);
    return 0;
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

int makeFolder(const QString& hostPath)
{
    const QByteArray name = QFile::encodeName(hostPath);
    if (::mkdir(name.constData(), 0777) != 0 && errno != EEXIST)
        return errno;
    return syncFolderOf(hostPath);
}

int truncateFile(int fd, long long length)
{
    int result;
    do
        result = ::ftruncate(fd, off_t(length));
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

int removeFile(const QString& hostPath)
{
    const QByteArray name = QFile::encodeName(hostPath);
    return ::unlink(name.constData()) == 0 ? 0 : errno;
}

Status statusOf(int fd)
{
    struct stat info { };
    const int result = ::fstat(fd, &info);
    return statusFrom(result, info);
}

Status statusAt(const QString& hostPath)
{
    struct stat info { };
    const QByteArray name = QFile::encodeName(hostPath);
    const int result = ::lstat(name.constData(), &info);
    return statusFrom(result, info);
}

QString userTag()
{
    return QString::number(::geteuid());
}

Ownership ownership(const Status& status, const QString& folder)
{
    if (status.owner == static_cast<long long>(::geteuid()))
        return {0, true};
    const QString base =
        folder + QStringLiteral("/.desk-owner_") + QString::number(::getpid()) + u'_';
    for (int attempt = 0;; ++attempt) {
        const QByteArray name = QFile::encodeName(base + QString::number(attempt));
        const int fd =
            ::open(name.constData(),
                   O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (fd < 0 && errno == EEXIST && attempt < 8)
            continue;
        if (fd < 0)
            return {errno, false};
        const Status made = statusOf(fd);
        ::close(fd);
        ::unlink(name.constData());
        return {0, made.error == 0 && made.owner == status.owner};
    }
}

bool isFileAt(int fd, const QString& hostPath)
{
    struct stat opened {
    }, atPath{};
    return ::fstat(fd, &opened) == 0
        && ::lstat(QFile::encodeName(hostPath).constData(), &atPath) == 0
        && opened.st_dev == atPath.st_dev && opened.st_ino == atPath.st_ino;
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
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd =
            ::open(name.constData(),
                   O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(name.constData());
            return false;
        }
        if (errno != EEXIST)
            return errno == EINVAL || errno == EILSEQ || errno == ENAMETOOLONG;
        struct stat info { };
        if (::lstat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size != 0
            || info.st_uid != ::geteuid() || ::unlink(name.constData()) != 0)
            return false;
    }
    return false;
}

} // namespace desk::os
