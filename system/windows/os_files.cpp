// The calls for files on Windows: files opened by their wide-character paths, each handle carried
// as a C runtime file descriptor so that the layers above see the same ints as on POSIX systems;
// LockFileEx for the record lock, FlushFileBuffers for a sync, the owner's security identifier
// for whose a file is. Windows errors are given as the errno values the layers above decide on.

#include "system/os_files.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <aclapi.h>
#include <io.h>
#include <sddl.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace desk::os {

namespace {

int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS: return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_LOCK_VIOLATION:
    case ERROR_IO_PENDING: return EAGAIN;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR: return ENXIO;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_INVALID_HANDLE: return EBADF;
    default: return EIO;
    }
}

int lastErrno()
{
    return errnoOf(GetLastError());
}

std::wstring wide(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

HANDLE handleOf(int fd)
{
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// The descriptors of files opened to append: each write goes to the end of the file.
std::mutex appendingLock;
std::set<int> appending;

bool isAppending(int fd)
{
    const std::lock_guard<std::mutex> guard(appendingLock);
    return appending.count(fd) != 0;
}

// Hands `handle` over to a descriptor; the handle is closed if that fails.
OpenedFile descriptorFor(HANDLE handle, bool created, bool append)
{
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0) {
        CloseHandle(handle);
        return {-1, EMFILE};
    }
    if (append) {
        const std::lock_guard<std::mutex> guard(appendingLock);
        appending.insert(fd);
    }
    return {fd, 0, created};
}

struct UserIdentity;
const UserIdentity& userIdentity();

// Files that the layers above keep to this user (the lock, the journal): only the user may open
// them.
struct PrivateFile {
    PrivateFile();
    ~PrivateFile() { LocalFree(attributes.lpSecurityDescriptor); }
    SECURITY_ATTRIBUTES attributes{};
};

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What stands at the path, without following a link (a reparse point).
Status statusOfAttributes(DWORD attributes, long long size)
{
    const Kind kind = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? Kind::Other
        : (attributes & FILE_ATTRIBUTE_DIRECTORY)                 ? Kind::Folder
                                                                  : Kind::File;
    return {0, kind, size, -1};
}

// A number for a security identifier, the same for the same identifier.
long long numberOf(PSID sid)
{
    if (!sid || !IsValidSid(sid))
        return -1;
    const auto* bytes = static_cast<const unsigned char*>(sid);
    unsigned long long hash = 1469598103934665603ULL;
    for (DWORD i = 0; i < GetLengthSid(sid); ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ULL;
    return static_cast<long long>(hash >> 1);
}

long long ownerOf(HANDLE handle)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor)
        != ERROR_SUCCESS)
        return -1;
    const long long number = numberOf(owner);
    LocalFree(descriptor);
    return number;
}

// The security identifiers a file made by this program gets as its owner: the user's, and the
// token's default owner (the Administrators group for an elevated administrator).
struct UserIdentity {
    long long user = -1;
    long long defaultOwner = -1;
    QString tag;
    std::wstring sid; // "S-1-5-21-...-1001"
};

const UserIdentity& userIdentity()
{
    static const UserIdentity identity = [] {
        UserIdentity id;
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return id;
        auto query = [token](TOKEN_INFORMATION_CLASS what) {
            DWORD size = 0;
            GetTokenInformation(token, what, nullptr, 0, &size);
            std::unique_ptr<char[]> buffer(new char[size ? size : 1]);
            if (!GetTokenInformation(token, what, buffer.get(), size, &size))
                buffer.reset();
            return buffer;
        };
        const auto user = query(TokenUser);
        const auto owner = query(TokenOwner);
        if (user) {
            PSID sid = reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid;
            id.user = numberOf(sid);
            // The relative identifier, as a user's number on Windows ("1001").
            id.tag = QString::number(*GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1));
            wchar_t* text = nullptr;
            if (ConvertSidToStringSidW(sid, &text)) {
                id.sid = text;
                LocalFree(text);
            }
        }
        if (owner)
            id.defaultOwner = numberOf(reinterpret_cast<TOKEN_OWNER*>(owner.get())->Owner);
        CloseHandle(token);
        return id;
    }();
    return identity;
}

PrivateFile::PrivateFile()
{
    attributes.nLength = sizeof attributes;
    attributes.bInheritHandle = FALSE;
    const std::wstring user = userIdentity().sid;
    const std::wstring descriptor = L"D:P(A;;FA;;;" + (user.empty() ? L"OW" : user) + L")";
    ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor.c_str(), SDDL_REVISION_1,
                                                         &attributes.lpSecurityDescriptor, nullptr);
}

Status statusOfHandle(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return {lastErrno(), Kind::Other, 0, -1};
    Status status =
        statusOfAttributes(info.dwFileAttributes,
                           (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    if (status.kind == Kind::File && GetFileType(handle) != FILE_TYPE_DISK)
        status.kind = Kind::Other;
    status.owner = ownerOf(handle);
    return status;
}

// Opens what stands at the path to look at it, a folder or a link included.
HANDLE openToLookAt(const QString& hostPath)
{
    return CreateFileW(wide(hostPath).c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL, shareAll,
                       nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool sameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second)
        && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber
        && first.nFileIndexHigh == second.nFileIndexHigh
        && first.nFileIndexLow == second.nFileIndexLow;
}

OpenedFile openWith(const QString& hostPath, DWORD access, DWORD disposition, bool privateFile,
                    bool append)
{
    if (hostPath.isEmpty() || hostPath.contains(QChar(0)))
        return {-1, EINVAL};
    const std::wstring path = wide(hostPath);
    const DWORD before = GetFileAttributesW(path.c_str());
    const bool existed = before != INVALID_FILE_ATTRIBUTES;
    if (existed && (before & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return {-1, NotRegularFile};
    PrivateFile security;
    const HANDLE handle =
        CreateFileW(path.c_str(), access, shareAll, privateFile ? &security.attributes : nullptr,
                    disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {-1, lastErrno()};
    const bool created = disposition == CREATE_NEW
        || ((disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS)
            && GetLastError() != ERROR_ALREADY_EXISTS);
    const Status opened = statusOfHandle(handle);
    if (opened.error != 0 || opened.kind != Kind::File) {
        CloseHandle(handle);
        return {-1, NotRegularFile};
    }
    return descriptorFor(handle, created, append);
}

} // namespace

OpenedFile openRegularFile(const QString& hostPath, Access access)
{
    switch (access) {
    case Access::Read: return openWith(hostPath, GENERIC_READ, OPEN_EXISTING, false, false);
    case Access::Replace:
        return openWith(hostPath, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, false, false);
    case Access::Append:
        return openWith(hostPath, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, false, true);
    case Access::Private:
        return openWith(hostPath, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, true, false);
    }
    return {-1, EINVAL};
}

OpenedFile openRegularFile(const QByteArray& nativePath, Access access)
{
    // A command's arguments reach the program in the system's code page.
    return openRegularFile(QString::fromLocal8Bit(nativePath), access);
}

OpenedFile openForWriting(const QString& hostPath)
{
    const HANDLE handle =
        CreateFileW(wide(hostPath).c_str(), GENERIC_READ | GENERIC_WRITE, shareAll, nullptr,
                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {-1, lastErrno()};
    return descriptorFor(handle, false, false);
}

OpenedFile openLockFile(const QString& hostPath)
{
    const DWORD before = GetFileAttributesW(wide(hostPath).c_str());
    if (before != INVALID_FILE_ATTRIBUTES && (before & FILE_ATTRIBUTE_REPARSE_POINT))
        return {-1, ELOOP};
    if (before != INVALID_FILE_ATTRIBUTES && (before & FILE_ATTRIBUTE_DIRECTORY))
        return {-1, EISDIR};
    PrivateFile security;
    const HANDLE handle = CreateFileW(
        wide(hostPath).c_str(), GENERIC_READ | GENERIC_WRITE, shareAll, &security.attributes,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {-1, lastErrno()};
    return descriptorFor(handle, GetLastError() != ERROR_ALREADY_EXISTS, false);
}

int lockWholeFile(int fd)
{
    OVERLAPPED whole{};
    if (LockFileEx(handleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                   MAXDWORD, &whole))
        return 0;
    const DWORD error = GetLastError();
    // A share that takes no locks answers that it cannot do this at all.
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION)
        return ENOLCK;
    return errnoOf(error);
}

int readToEnd(int fd, QByteArray& into, qsizetype atMost)
{
    char buffer[65536];
    while (into.size() < atMost) {
        DWORD n = 0;
        const DWORD wanted = DWORD(std::min<qsizetype>(sizeof buffer, atMost - into.size()));
        if (!ReadFile(handleOf(fd), buffer, wanted, &n, nullptr)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            return lastErrno();
        }
        if (n == 0)
            break;
        into.append(buffer, n);
    }
    return 0;
}

int readAt(int fd, long long offset, QByteArray& into, qsizetype atMost)
{
    // As pread: the file position stays where it was.
    const HANDLE handle = handleOf(fd);
    LARGE_INTEGER position{}, zero{};
    if (!SetFilePointerEx(handle, zero, &position, FILE_CURRENT))
        return lastErrno();
    into.resize(atMost);
    qsizetype got = 0;
    int result = 0;
    while (got < atMost) {
        OVERLAPPED at{};
        at.Offset = DWORD((offset + got) & 0xFFFFFFFF);
        at.OffsetHigh = DWORD((offset + got) >> 32);
        DWORD n = 0;
        if (!ReadFile(handle, into.data() + got, DWORD(atMost - got), &n, &at)) {
            if (GetLastError() != ERROR_HANDLE_EOF)
                result = lastErrno();
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    into.resize(got);
    SetFilePointerEx(handle, position, nullptr, FILE_BEGIN);
    return result;
}

int writeAll(int fd, const char* data, qsizetype size)
{
    const HANDLE handle = handleOf(fd);
    const bool append = isAppending(fd);
    while (size > 0) {
        // Both halves of the offset all ones: at the end of the file, whatever its length now.
        OVERLAPPED atEnd{};
        atEnd.Offset = 0xFFFFFFFF;
        atEnd.OffsetHigh = 0xFFFFFFFF;
        DWORD n = 0;
        if (!WriteFile(handle, data, DWORD(std::min<qsizetype>(size, 1 << 30)), &n,
                       append ? &atEnd : nullptr))
            return lastErrno();
        if (n == 0)
            return ENOSPC;
        data += n;
        size -= n;
    }
    return 0;
}

int syncFile(int fd)
{
    if (FlushFileBuffers(handleOf(fd)))
        return 0;
    const DWORD error = GetLastError();
    // What cannot be synced (a console) is no failure.
    return error == ERROR_INVALID_HANDLE || error == ERROR_INVALID_FUNCTION ? 0 : errnoOf(error);
}

int syncFolderOf(const QString& hostPath)
{
    // Windows syncs a folder's names as far as its file system lets a folder be flushed (NTFS
    // does, with write access to the folder); where it does not, NTFS's own journal keeps them.
    const HANDLE folder =
        CreateFileW(wide(QFileInfo(hostPath).absolutePath()).c_str(), GENERIC_READ | GENERIC_WRITE,
                    shareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_ACCESS_DENIED ? 0 : errnoOf(error);
    }
    const bool flushed = FlushFileBuffers(folder);
    const DWORD error = GetLastError();
    CloseHandle(folder);
    return flushed || error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_FUNCTION
        ? 0
        : errnoOf(error);
}

int makeFolder(const QString& hostPath)
{
    if (!CreateDirectoryW(wide(hostPath).c_str(), nullptr)
        && GetLastError() != ERROR_ALREADY_EXISTS)
        return lastErrno();
    return syncFolderOf(hostPath);
}

int truncateFile(int fd, long long length)
{
    // As ftruncate: the file position stays where it was.
    const HANDLE handle = handleOf(fd);
    LARGE_INTEGER position{}, zero{}, at{};
    at.QuadPart = length;
    if (!SetFilePointerEx(handle, zero, &position, FILE_CURRENT)
        || !SetFilePointerEx(handle, at, nullptr, FILE_BEGIN))
        return lastErrno();
    const bool cut = SetEndOfFile(handle);
    const int result = cut ? 0 : lastErrno();
    SetFilePointerEx(handle, position, nullptr, FILE_BEGIN);
    return result;
}

int removeFile(const QString& hostPath)
{
    return DeleteFileW(wide(hostPath).c_str()) ? 0 : lastErrno();
}

Status statusOf(int fd)
{
    const HANDLE handle = handleOf(fd);
    if (handle == INVALID_HANDLE_VALUE)
        return {EBADF, Kind::Other, 0, -1};
    return statusOfHandle(handle);
}

Status statusAt(const QString& hostPath)
{
    const HANDLE handle = openToLookAt(hostPath);
    if (handle == INVALID_HANDLE_VALUE)
        return {lastErrno(), Kind::Other, 0, -1};
    const Status status = statusOfHandle(handle);
    CloseHandle(handle);
    return status;
}

QString userTag()
{
    return userIdentity().tag;
}

Ownership ownership(const Status& status, const QString& folder)
{
    const UserIdentity& user = userIdentity();
    if (status.owner != -1 && (status.owner == user.user || status.owner == user.defaultOwner))
        return {0, true};
    const QString base =
        folder + QStringLiteral("/.desk-owner_") + QString::number(GetCurrentProcessId()) + u'_';
    for (int attempt = 0;; ++attempt) {
        const std::wstring name = wide(base + QString::number(attempt));
        const HANDLE probe =
            CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, shareAll, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS && attempt < 8)
            continue;
        if (probe == INVALID_HANDLE_VALUE)
            return {lastErrno(), false};
        const long long made = ownerOf(probe);
        CloseHandle(probe);
        return {0, made != -1 && made == status.owner};
    }
}

bool isFileAt(int fd, const QString& hostPath)
{
    const HANDLE atPath = openToLookAt(hostPath);
    if (atPath == INVALID_HANDLE_VALUE)
        return false;
    const bool same = sameFile(handleOf(fd), atPath);
    CloseHandle(atPath);
    return same;
}

void closeFile(int fd) noexcept
{
    if (fd < 0)
        return;
    {
        const std::lock_guard<std::mutex> guard(appendingLock);
        appending.erase(fd);
    }
    _close(fd);
}

long maxNameBytes(const QString& hostPath)
{
    // The longest name of a component, in characters of 16 bits, on the volume of the nearest
    // existing folder; 255 where none can be asked.
    wchar_t volume[MAX_PATH + 1];
    DWORD longest = 0;
    QString folder = QFileInfo(hostPath).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QFileInfo(folder).absolutePath())
        folder = QFileInfo(folder).absolutePath();
    if (GetVolumePathNameW(wide(folder).c_str(), volume, MAX_PATH)
        && GetVolumeInformationW(volume, nullptr, 0, nullptr, &longest, nullptr, nullptr, 0)
        && longest > 0)
        return long(longest);
    return 255;
}

bool nameRefused(const QString& hostPath)
{
    const std::wstring name = wide(hostPath);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const HANDLE made = CreateFileW(name.c_str(), GENERIC_WRITE, shareAll, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (made != INVALID_HANDLE_VALUE) {
            CloseHandle(made);
            return false;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS)
            return error == ERROR_INVALID_NAME || error == ERROR_FILENAME_EXCED_RANGE
                || error == ERROR_BAD_PATHNAME;
        // Left by a check that a power cut interrupted: an empty file of this user's.
        const Status there = statusAt(hostPath);
        if (there.error != 0 || there.kind != Kind::File || there.size != 0
            || !ownership(there, QFileInfo(hostPath).absolutePath()).thisUsers
            || !DeleteFileW(name.c_str()))
            return false;
    }
    return false;
}

} // namespace desk::os
