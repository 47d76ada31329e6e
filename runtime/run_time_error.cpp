#include "runtime/run_time_error.h"

namespace desk {

QString errorDescription(int number)
{
    switch (number) {
    case err::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow: return QStringLiteral("Overflow");
    case err::OutOfMemory: return QStringLiteral("Out of memory");
    case err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case err::TypeMismatch: return QStringLiteral("Type mismatch");
    case err::InternalError: return QStringLiteral("Internal error");
    case err::BadFileName: return QStringLiteral("Bad file name or number");
    case err::FileNotFound: return QStringLiteral("File not found");
    case err::FileAlreadyOpen: return QStringLiteral("File already open");
    case err::DiskFull: return QStringLiteral("Disk full");
    case err::InputPastEnd: return QStringLiteral("Input past end of file");
    case err::PermissionDenied: return QStringLiteral("Permission denied");
    case err::DiskNotReady: return QStringLiteral("Disk not ready");
    case err::PathFileAccess: return QStringLiteral("Path/File access error");
    case err::PathNotFound: return QStringLiteral("Path not found");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

RunTimeError::RunTimeError(int number)
    : RunTimeError(number, QString())
{
}

RunTimeError::RunTimeError(int number, const QString& detail)
    : std::runtime_error((QString::number(number) + u' ' + errorDescription(number)
                          + (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail))
                             .toStdString())
    , number_(number)
{
}

UnencodableTextError::UnencodableTextError(QStringList characters)
    : RunTimeError(err::InvalidProcedureCall,
                   QStringLiteral("characters the record files cannot hold"))
    , characters_(std::move(characters))
{
}

PartlyWrittenError::PartlyWrittenError(int number, QStringList files)
    : RunTimeError(number,
                   QStringLiteral("could not take the record back out of ") + files.join(u' '))
    , files_(std::move(files))
{
}

RecordRefusal::RecordRefusal(Reason reason, QStringList paths, int number)
    : RunTimeError(number != 0 ? number
                       : reason == Reason::OtherUsersFile || reason == Reason::OtherUsersRecordFile
                       ? err::PermissionDenied
                       : err::PathFileAccess,
                   QStringLiteral("record refused (%1): ").arg(int(reason)) + paths.join(u' '))
    , reason_(reason)
    , paths_(std::move(paths))
{
}

} // namespace desk
