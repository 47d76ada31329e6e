#include "platform/file_channels.h"

#include "platform/run_time_error.h"
#include "platform/windows1252.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desk {

namespace {

int errorForOpen(int errnoValue, FileMode mode, const QString& hostPath)
{
    switch (errnoValue) {
    case ENOENT:
        if (mode == FileMode::Input && QFileInfo(QFileInfo(hostPath).absolutePath()).isDir())
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

int errorForWrite(int errnoValue)
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

} // namespace

void FileChannels::checkNumber(int channel)
{
    if (channel < 1 || channel > Count)
        throw RunTimeError(err::BadFileName, QStringLiteral("channel %1").arg(channel));
}

FileChannels::Channel& FileChannels::openChannel(int channel)
{
    checkNumber(channel);
    Channel& c = channels_[channel - 1];
    if (c.fd < 0)
        throw RunTimeError(err::BadFileName, QStringLiteral("channel %1 is not open").arg(channel));
    return c;
}

const FileChannels::Channel& FileChannels::openChannel(int channel) const
{
    return const_cast<FileChannels*>(this)->openChannel(channel);
}

bool FileChannels::isOpen(int channel) const
{
    checkNumber(channel);
    return channels_[channel - 1].fd >= 0;
}

void FileChannels::open(int channel, const QString& hostPath, FileMode mode)
{
    checkNumber(channel);
    Channel& c = channels_[channel - 1];
    if (c.fd >= 0)
        throw RunTimeError(err::FileAlreadyOpen, hostPath);
    if (hostPath.isEmpty() || hostPath.contains(QChar(0)))
        throw RunTimeError(err::BadFileName, hostPath);

    const QByteArray name = QFile::encodeName(hostPath);
    struct stat before {};
    const bool existed = ::stat(name.constData(), &before) == 0;
    int flags = O_CLOEXEC;
    switch (mode) {
    case FileMode::Input: flags |= O_RDONLY; break;
    case FileMode::Output: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case FileMode::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    }
    const int fd = ::open(name.constData(), flags, 0666);
    if (fd < 0)
        throw RunTimeError(errorForOpen(errno, mode, hostPath), hostPath);

    struct stat info {};
    // Only a regular file can be read to its end (a device or a pipe might never end).
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || (mode == FileMode::Input && !S_ISREG(info.st_mode))) {
        ::close(fd);
        throw RunTimeError(err::PathFileAccess, hostPath);
    }

    Channel opened;
    opened.fd = fd;
    opened.mode = mode;
    opened.hostPath = hostPath;
    opened.created = !existed;
    opened.sizeAtOpen = S_ISREG(info.st_mode) ? info.st_size : 0;
    if (mode == FileMode::Input) {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                const int e = errno;
                ::close(fd);
                throw RunTimeError(errorForWrite(e), hostPath);
            }
            if (n == 0)
                break;
            opened.input.append(buffer, n);
        }
    }
    c = std::move(opened);
}

void FileChannels::writeLine(int channel, QStringView text)
{
    Channel& c = openChannel(channel);
    if (c.mode == FileMode::Input)
        throw RunTimeError(err::BadFileName, QStringLiteral("channel %1 is open for reading").arg(channel));
    c.pending += windows1252::encode(text);
    c.pending += "\r\n";
}

QString FileChannels::readLine(int channel)
{
    Channel& c = openChannel(channel);
    if (c.mode != FileMode::Input)
        throw RunTimeError(err::BadFileName, QStringLiteral("channel %1 is not open for reading").arg(channel));
    if (c.readPos >= c.input.size())
        throw RunTimeError(err::InputPastEnd, c.hostPath);
    qsizetype end = c.readPos;
    while (end < c.input.size() && c.input[end] != '\r' && c.input[end] != '\n')
        ++end;
    const QString line = windows1252::decode(c.input.mid(c.readPos, end - c.readPos));
    if (end < c.input.size() && c.input[end] == '\r')
        ++end;
    if (end < c.input.size() && c.input[end] == '\n')
        ++end;
    c.readPos = end;
    return line;
}

bool FileChannels::atEnd(int channel) const
{
    const Channel& c = openChannel(channel);
    return c.mode != FileMode::Input || c.readPos >= c.input.size();
}

int FileChannels::flushAndSync(Channel& c) const
{
    const char* data = c.pending.constData();
    qsizetype left = c.pending.size();
    while (left > 0) {
        const ssize_t n = ::write(c.fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        data += n;
        left -= n;
    }
    if (syncToDisk_ && !c.pending.isEmpty()) {
        // Special files (a terminal, /dev/null) cannot be synced; that is no failure.
        if (::fsync(c.fd) != 0 && errno != EINVAL && errno != EROFS)
            return errno;
        if (c.created) {
            // A new file's directory entry must reach the disk too.
            const QByteArray dir = QFile::encodeName(QFileInfo(c.hostPath).absolutePath());
            const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dirFd >= 0) {
                ::fsync(dirFd);
                ::close(dirFd);
            }
        }
    }
    return 0;
}

void FileChannels::rollBack(Channel& c)
{
    if (c.mode == FileMode::Input)
        return;
    if (c.created) {
        removeCreatedFile(c);
        return;
    }
    struct stat info {};
    if (::fstat(c.fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > c.sizeAtOpen) {
        if (::ftruncate(c.fd, c.sizeAtOpen) == 0)
            ::fsync(c.fd);
    }
}

void FileChannels::removeCreatedFile(Channel& c)
{
    // The file did not exist before the channel was opened: the operation leaves no trace.
    ::unlink(QFile::encodeName(c.hostPath).constData());
}

void FileChannels::closeFd(Channel& c)
{
    if (c.fd >= 0)
        ::close(c.fd);
    c = Channel{};
}

void FileChannels::closeTogether(std::initializer_list<int> channels)
{
    for (int channel : channels)
        checkNumber(channel);
    int failure = 0;
    QString failedPath;
    for (int channel : channels) {
        Channel& c = channels_[channel - 1];
        if (c.fd < 0 || failure)
            continue;
        failure = flushAndSync(c);
        failedPath = c.hostPath;
    }
    if (failure) {
        for (int channel : channels)
            if (channels_[channel - 1].fd >= 0)
                rollBack(channels_[channel - 1]);
    }
    for (int channel : channels)
        closeFd(channels_[channel - 1]);
    if (failure)
        throw RunTimeError(errorForWrite(failure), failedPath);
}

void FileChannels::discard(int channel) noexcept
{
    if (channel < 1 || channel > Count)
        return;
    Channel& c = channels_[channel - 1];
    if (c.fd >= 0 && c.created && c.mode != FileMode::Input)
        removeCreatedFile(c);
    closeFd(c);
}

void FileChannels::closeAll() noexcept
{
    for (Channel& c : channels_) {
        if (c.fd < 0)
            continue;
        if (flushAndSync(c) != 0)
            rollBack(c);
        closeFd(c);
    }
}

} // namespace desk
