#pragma once
// Run-time errors of the program, each with the number the student reports to the instructor.

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace desk {

namespace err {
// Plain numbers, as the student reads and reports them.
enum : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    InternalError = 51,
    BadFileName = 52,
    FileNotFound = 53,
    FileAlreadyOpen = 55,
    DiskFull = 61,
    InputPastEnd = 62,
    PermissionDenied = 70,
    DiskNotReady = 71,
    PathFileAccess = 75,
    PathNotFound = 76,
};
} // namespace err

// The standard description of an error number ("Subscript out of range" for 9).
QString errorDescription(int number);

class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(int number);
    RunTimeError(int number, const QString& detail);
    int number() const { return number_; }
    QString description() const { return errorDescription(number_); }

private:
    int number_;
};

// Text that the record files' character set cannot hold; carries the offending characters
// so the student can be told which ones to write another way.
class UnencodableTextError : public RunTimeError {
public:
    explicit UnencodableTextError(QStringList characters);
    const QStringList& characters() const { return characters_; }

private:
    QStringList characters_;
};

// A record that failed and could not be taken back out of every file: each of `files` may hold
// part of the refused block.
class PartlyWrittenError : public RunTimeError {
public:
    PartlyWrittenError(int number, QStringList files);
    const QStringList& files() const { return files_; }

private:
    QStringList files_;
};

} // namespace desk
