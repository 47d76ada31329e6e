#pragma once
// Reads a record file back strictly: the runs it holds, each with its blocks, and the first line
// that is not as the program writes it. It takes the file's form from records/record_lines.h and
// never changes a file.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace desk {

enum class RecordFileKind { Master, Send, Notes };

struct RecordBlock {
    enum Kind { Response, Note };
    Kind kind = Response;
    int firstLine = 0;      // the line of its opening separator, from 1
    QString time;           // "14:03:27"
    QString dateAndTime;    // a note's: "12-08-202614:03:27"
    QString questionNumber; // a response's in the master file: "10005", "10002.5"
    QString paragraph;
    QString text; // the answer or the note, its lines joined with CR LF
};

// One run's header and the blocks under it. A notes file has one group with no header fields.
struct RecordRun {
    int firstLine = 0; // the header's first line, 0 for the notes file's group
    QString studentName;
    QString assignmentNumber; // "001"
    QString assignmentHeader; // "001.  Part C"
    QString initials;
    QString date; // "12-08-2026"
    QString time; // "01:41:15"
    std::vector<RecordBlock> blocks;

    int count(RecordBlock::Kind kind) const;
};

struct RecordProblem {
    int line = 0; // from 1
    QString what; // "torn line: no CR LF at its end"
};

struct RecordReading {
    std::vector<RecordRun> runs; // those read before the problem, if there is one
    std::optional<RecordProblem> problem;

    bool whole() const { return !problem; }
};

// Reads `bytes`, the whole file, as a file of `kind`.
RecordReading readRecordFile(const QByteArray& bytes, RecordFileKind kind);

// The kind of the file by its name's prefix ("masterFile_", "send_", "notes_"); where the name
// says nothing, by its content: the first header's date and time tell the master file from the
// send file, and a file with no header is a notes file (a master file if it holds a response).
RecordFileKind recordFileKind(const QString& fileName, const QByteArray& bytes);

} // namespace desk
