#pragma once
// Run-time errors of the program, each with the number the student reports to the instructor.

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace desk {

namespace err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int InternalError = 51;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
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

// A record refused, or left in doubt, for a reason the student can act on; `paths` names what
// stands in the way (host paths).
class RecordRefusal : public RunTimeError {
public:
    enum class Reason {
        AnotherCopyRecording,    // the wait for the record files' lock ran out
        NotAFile,                // a folder or another non-file where a lock or journal is kept
        OtherUsersFile,          // a lock or journal file of another user's there, not removable
        OtherUsersRecordFile,    // a record file of another user's, who could change or empty it
        EarlierRecordUnfinished, // an interrupted record's journal cannot be applied just now
        ChangedMeanwhile,        // a lock or record file moved or removed while the record was
                                 // written: it was taken back out again
        RecordFileMoved,         // a record file moved or removed while the record was written,
                                 // and the record could not be taken back out of these files
        MayNotBeWhole,           // a lock or the journal removed or replaced while the record was
                                 // written: the files that may not hold it whole
        JournalUnreadable,       // the journal of an interrupted record cannot be read just now;
                                 // `paths` names the folder of the record files
    };
    // The number is 70 for another user's file, 75 otherwise, unless given.
    RecordRefusal(Reason reason, QStringList paths, int number = 0);
    Reason reason() const { return reason_; }
    const QStringList& paths() const { return paths_; }

private:
    Reason reason_;
    QStringList paths_;
};

} // namespace desk
