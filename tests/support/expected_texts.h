#pragma once
// What the tests expect the program to show and write, stated here once: the student-facing
// error messages, the separator lines and blocks of the record files and the paragraphs of the
// compiled-in assignment 001. Also small helpers around them: the error number a call raises,
// what a file or a folder holds, and writing a file whole.
//
// Everything is written out by hand. The production code is not consulted, so a change to a
// message or to the record layout makes the tests fail instead of following along.

#include "runtime/run_time_error.h"
#include "runtime/value.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>

namespace desk {

// The program compares values as numbers; the tests check the kind as well.
inline bool operator==(const Value& a, const Value& b)
{
    return a.sameKindAndValue(b);
}

} // namespace desk

namespace desk::testing {

// The general error message; the student reports the number at its end to the instructor.
inline QString generalErrorText(int number)
{
    return QStringLiteral("You have encountered an error.  If you are encountering this error "
                          "repeatedly you should report the error number to the instructor and "
                          "explain exactly what you were doing, keystroke by keystroke, when the "
                          "error occurred.  The error is:  ")
        + QString::number(number);
}

// The message for an assignment that is not in the bank (error 9 under the trap).
inline QString invalidAssignmentText()
{
    return QStringLiteral(
        "You have probably not entered a valid assignment number.  Make sure the assignment number "
        "is "
        "a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is supposed to "
        "be "
        "in the current drillkit.  This program will end and you will need to start over.  If you "
        "are "
        "sure you have entered a valid assignment number email the instructor and specify that you "
        "have received a 'subscript out of range' error");
}

// What "Next Question / Answer" shows once the assignment has no paragraph left; `textLeft`:
// the student chose to leave a text unrecorded in this run.
inline QString endOfAssignmentText(bool textLeft = false)
{
    return QStringLiteral(
               "You have reached the end of this assignment: there are no more paragraphs.  ")
        + (textLeft ? QStringLiteral("Every answer and note that the program told you it recorded "
                                     "is in your record files; the text you chose to leave "
                                     "unrecorded is not.  ")
                    : QStringLiteral("Your work is recorded: every answer and note you recorded "
                                     "with \"Enter Response\" or \"Save as Notes\" is in your "
                                     "record files.  "))
        + QStringLiteral("Click \"quit program\" to end the program.");
}

// The question "Next Question / Answer" asks before it leaves the answer box's text unrecorded.
enum class LeftText { Typed, Refused, MayBeInFiles };
inline QString leaveUnrecordedQuestion(LeftText text)
{
    const QString yes = QStringLiteral("Go on to the next paragraph and leave it unrecorded?\n\n"
                                       "Yes: go on; the text is not recorded and the box shows the "
                                       "instructions again.\n");
    const QString no = QStringLiteral("No: stay on this paragraph with your text in the box, so "
                                      "that you can record it");
    const QString paragraph = QStringLiteral(", and it belongs to the paragraph you are on.  ");
    switch (text) {
    case LeftText::Typed:
        return QStringLiteral("What is in the box on the right is not recorded yet") + paragraph
            + yes + no + QStringLiteral(" with \"Enter Response\" or \"Save as Notes\".");
    case LeftText::Refused:
        return QStringLiteral("What is in the box on the right could not be recorded") + paragraph
            + yes + no + QStringLiteral(" again.");
    case LeftText::MayBeInFiles: break;
    }
    return QStringLiteral("What is in the box on the right may be in your record files, whole or "
                          "in part (the message before this one names the files to look at)")
        + paragraph
        + QStringLiteral("Go on to the next paragraph without recording it again?\n\n"
                         "Yes: go on; the text is not recorded again and the box shows the "
                         "instructions again.\n")
        + no + QStringLiteral(" again once you have looked at your record files.");
}

// Told once a run: another user's journal stands where the name's journal is kept.
inline QString otherUsersJournalText(const QString& path)
{
    return QStringLiteral("A file of another user's, ") + path
        + QStringLiteral(", stands where the program keeps the rollback journal for your name.  "
                         "The program does not apply it and leaves it where it is: your records "
                         "go on under a journal of your own.  You may ask its owner or the "
                         "instructor to remove it.");
}

// The number of the run-time error the call raises, 0 when it raises none.
inline int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return 0;
}

// The whole file, or a marker for what stands at the path when it is no regular readable file.
inline QByteArray fileState(const QString& hostPath)
{
    const QFileInfo info(hostPath);
    if (info.isSymLink())
        return "<link to " + QFile::encodeName(info.symLinkTarget()) + ">";
    if (info.isDir())
        return "<directory>";
    if (!info.exists())
        return "<missing>";
    // Reading a FIFO would wait for a writer.
    if (!info.isFile())
        return "<not a plain file>";
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

// Everything below a folder, hidden entries too, by its path from there ("c/lrnfiles/" for a
// directory, with a final "/"), and what each holds as fileState reads it.
inline QMap<QString, QByteArray> filesUnder(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString relative = QDir(root).relativeFilePath(info.filePath());
        entries[info.isDir() && !info.isSymLink() ? relative + u'/' : relative] =
            fileState(info.filePath());
    }
    return entries;
}

// Writes the bytes as the whole file, replacing what it held; false when it could not, for the
// caller's QVERIFY.
[[nodiscard]] inline bool putFile(const QString& hostPath, const QByteArray& bytes)
{
    QFile file(hostPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

// The line that opens a record block and, inside it, the response or note.
inline QByteArray openingLine()
{
    return QByteArray(6, '.') + QByteArray(8, '!') + QByteArray(35, '.') + "\r\n";
}

// The line that closes a record block.
inline QByteArray closingLine()
{
    return QByteArray(49, '.') + "\r\n";
}

// A response block as the send file holds it: the time, the paragraph shown and the answer.
inline QByteArray sendResponse(const QByteArray& time, const QByteArray& line,
                               const QByteArray& answer)
{
    return openingLine() + QByteArray(36, ' ') + time + "\r\n" + line + "\r\n" + openingLine()
        + "RESPONSE -->  \r\n" + answer + "\r\n" + closingLine();
}

// The same block in the master file, which also holds the question number: `key` is the number
// item with its blanks (" 30005 " for question 5 of assignment 003), below two empty lines.
inline QByteArray masterResponse(const QByteArray& time, const QByteArray& key,
                                 const QByteArray& line, const QByteArray& answer)
{
    return openingLine() + QByteArray(36, ' ') + time + "\r\n\r\n\r\n`questionNumber" + key + "\r\n"
        + line + "\r\n" + openingLine() + "RESPONSE -->  \r\n" + answer + "\r\n" + closingLine();
}

// What stands in front of a note in its block, and in the transcript.
inline QString notesLabel()
{
    return QStringLiteral("NOTES -------> ");
}

// A notes block, alike in the master, send and notes files.
inline QByteArray notesBlock(const QByteArray& date, const QByteArray& time, const QByteArray& line,
                             const QByteArray& note)
{
    const QByteArray indent(36, ' ');
    return openingLine() + indent + time + "\r\n" + indent + date + time + "\r\n" + line + "\r\n"
        + openingLine() + notesLabel().toLatin1() + note + "\r\n" + closingLine();
}

// The paragraphs of the compiled-in assignment 001, in bank slots 3, 5, ... 13.
inline QStringList assignmentOneParagraphs()
{
    return {
        QStringLiteral(
            "Go to the incline set up at the picnic tables and time the ball as it rolls "
            "halfway down the incline and as it runs the whole distance down the incline."),
        QStringLiteral("GIve the times you obtained and how you obtained them."),
        QStringLiteral(
            "Calculate the average rate of change of position with respect to clock time "
            "for the first run and for the second, given that the length of the incline "
            "is about 190 cm."),
        QStringLiteral(
            "Calculate the average rate of change of velocity with respect to clock time "
            "for the first run and for the second."),
        QStringLiteral(
            "Sketch a graph of velocity vs. clock time for the run down the first half of "
            "the incline.  What is the area under your graph and what does it mean?"),
        QStringLiteral(
            "Sketch a graph of velocity vs. clock time for the run down the first entire "
            "incline.  What is the area under your graph and what does it mean?"),
    };
}

} // namespace desk::testing
