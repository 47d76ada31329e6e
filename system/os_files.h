#pragma once
// The operating-system calls behind the record files. Nothing else in the program calls the
// system for its files: system/posix/os_files.cpp and system/windows/os_files.cpp make them, and
// the build takes one.
//
// No call throws. Each failure is a POSIX errno value (EAGAIN, ENOENT...), returned, or as the
// `error` of the struct returned; the lock and the journal decide on them, so a port maps its
// system's errors to them. errorForOpen and errorForIo give the error number the student reports.
//
// Record files are plain files: a path whose last part is a symbolic link, a FIFO, a device or a
// socket is refused, and opening never blocks (a FIFO with no reader would freeze the window).

#include <QByteArray>
#include <QString>

#include <limits>

namespace desk::os {

// The error number for a failed open (`forReading`: a missing file is 53, not 76).
int errorForOpen(int errnoValue, bool forReading, const QString& hostPath);
// The error number for a failed read, write, sync or truncation.
int errorForIo(int errnoValue);

enum class Access {
    Read,
    Replace, // write, creating the file or emptying it first
    Append,  // write at the end, creating the file if missing
    Private, // read and write, making the file if missing, readable by this user alone; what it
             // holds stays
};

// The error of an opening that found something other than a regular file at the path (errorForOpen
// gives 75 for it).
inline constexpr int NotRegularFile = -1;

// An open file, or the errno value that kept it from opening.
struct OpenedFile {
    int fd = -1;
    int error = 0;
    bool created = false; // the file did not exist before
};

// Opens a regular file: anything else is NotRegularFile; an empty name, or one holding a NUL
// character, is EINVAL.
OpenedFile openRegularFile(const QString& hostPath, Access access);
// The same for a path given as the system's own bytes (a command's argument, whatever its
// encoding).
OpenedFile openRegularFile(const QByteArray& nativePath, Access access);
// Opens an existing file for writing where it stands (to cut it shorter), never through a final
// symbolic link and never blocking; whatever kind of file it is.
OpenedFile openForWriting(const QString& hostPath);
// Opens the lock file for reading and writing, making it if missing (readable by this user alone,
// so that nobody else can hold a lock on it); never through a final symbolic link and never
// blocking.
OpenedFile openLockFile(const QString& hostPath);

// Takes the write lock on the whole of `fd`, without waiting: 0 when taken, EAGAIN while another
// holder has it, or another errno value. Closing the file lets go of it.
int lockWholeFile(int fd);

// Each returns 0 or an errno value.
// Reads `fd` from where it stands to its end, or until `into` holds `atMost` bytes; on a failed
// read `into` keeps what came before.
int readToEnd(int fd, QByteArray& into, qsizetype atMost = std::numeric_limits<qsizetype>::max());
// Reads at most `atMost` bytes of `fd` from `offset` on, wherever the file stands.
int readAt(int fd, long long offset, QByteArray& into, qsizetype atMost);
int writeAll(int fd, const char* data, qsizetype size);
// Syncs a file to the disk; files that cannot be synced (a terminal) are no failure.
int syncFile(int fd);
// Syncs the folder that holds `hostPath`, so that a new or removed name reaches the disk.
int syncFolderOf(const QString& hostPath);
// Makes the folder `hostPath` if it is missing, and syncs the folder above it either way, so that
// its name reaches the disk before anything in it counts (a run that made it and then crashed
// before the sync leaves it only in memory). 0 or an errno value.
int makeFolder(const QString& hostPath);
int truncateFile(int fd, long long length);
// Removes the name `hostPath` (a link itself, not what it points to).
int removeFile(const QString& hostPath);

enum class Kind { File, Folder, Other };
// What a file is, or the errno value that kept it from being looked at.
struct Status {
    int error = 0;
    Kind kind = Kind::Other;
    long long size = 0;
    long long owner = -1; // the user the file belongs to
};
// Of an open file.
Status statusOf(int fd);
// Of what stands at `hostPath`: a symbolic link is an Other, whatever it points to.
Status statusAt(const QString& hostPath);

// The user running the program, as the names of the program's own hidden files carry it ("1000").
QString userTag();
// Whether a file belongs to the user running the program: made by this user, or shown with the
// owner that this user's own new files get in `folder` (a network share that shows every file
// with one owner). A file made there for a moment tells the second; `error` is the errno value
// of its making when it cannot be made.
struct Ownership {
    int error = 0;
    bool thisUsers = false;
};
Ownership ownership(const Status& status, const QString& folder);

// Whether the open file `fd` is still the file at `hostPath` (not removed, not replaced).
bool isFileAt(int fd, const QString& hostPath);
void closeFile(int fd) noexcept;

// How many bytes the last part of `hostPath` may have: what its folder takes, or the nearest
// existing folder above it (a network folder may not be reachable yet).
long maxNameBytes(const QString& hostPath);

// Whether the file system refuses `hostPath` as a file name (a character it does not take,
// a name too long). Tried by making the file and removing it again; a folder that cannot be
// reached refuses nothing. An empty file of this user's already there was left by a check that a
// power cut or a kill interrupted: it is removed and the check made again. Anything else there
// refuses nothing.
bool nameRefused(const QString& hostPath);

} // namespace desk::os
