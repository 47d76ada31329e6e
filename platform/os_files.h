#pragma once
// The operating-system calls behind the record files, each failure given the error number the
// student reports.
//
// Record files are plain files: a path whose last part is a symbolic link, a FIFO, a device or a
// socket is refused, and opening never blocks (a FIFO with no reader would freeze the window).

#include <QString>

namespace desk::os {

// The error number for a failed open (`forReading`: a missing file is 53, not 76).
int errorForOpen(int errnoValue, bool forReading, const QString& hostPath);
// The error number for a failed read, write, sync or truncation.
int errorForIo(int errnoValue);

struct OpenedFile {
    int fd = -1;
    bool created = false;  // the file did not exist before
};

// Opens a regular file with the open(2) `flags`. Throws RunTimeError: 75 for anything but a
// regular file, and the error of errorForOpen when the system refuses.
OpenedFile openRegularFile(const QString& hostPath, int flags);

// Each returns 0 or an errno value.
int writeAll(int fd, const char* data, qsizetype size);
// Syncs a file to the disk; files that cannot be synced (a terminal) are no failure.
int syncFile(int fd);
// Syncs the folder that holds `hostPath`, so that a new or removed name reaches the disk.
int syncFolderOf(const QString& hostPath);
int truncateFile(int fd, long long length);

// Whether the open file `fd` is still the file at `hostPath` (not removed, not replaced).
bool isFileAt(int fd, const QString& hostPath);
// The size of an open file, or -1.
long long sizeOf(int fd);
void closeFile(int fd) noexcept;

// How many bytes the last part of `hostPath` may have: what its folder takes, or the nearest
// existing folder above it (a network folder may not be reachable yet).
long maxNameBytes(const QString& hostPath);

// Whether the file system refuses `hostPath` as a file name (a character it does not take,
// a name too long). Tried by making the file and removing it again; a file already there, or a
// folder that cannot be reached, refuses nothing.
bool nameRefused(const QString& hostPath);

} // namespace desk::os
