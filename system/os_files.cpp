// What the calls for files mean to the student, on every system: their errno values as the
// error numbers the student reports.

#include "system/os_files.h"

#include "runtime/run_time_error.h"

#include <QFileInfo>

#include <cerrno>

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
#ifdef EDQUOT
    case EDQUOT:
#endif
        return err::DiskFull;
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
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return err::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBADF: return err::PermissionDenied;
    default: return err::PathFileAccess;
    }
}

} // namespace desk::os
