#pragma once
// Every text the student sees or hears, by name: the start-up questions and the instructions in
// the answer box, the messages and questions of the boxes, and what a screen reader is told. The
// handlers use these names; app/error_policy.cpp decides which message an error gets. A text is
// changed here and nowhere else.

#include "runtime/run_time_error.h"

#include <QString>
#include <QStringList>

namespace desk {

// What the answer box holds that is not surely in the record files: text typed and not yet
// recorded, text whose record was refused, or text whose record may be in the files in part.
enum class UnrecordedText { Typed, Refused, MayBeInFiles };

} // namespace desk

namespace desk::texts {

// The four start-up questions, and the instructions in the answer box.
extern const QString homeOrLanPrompt;
extern const QString namePrompt;
extern const QString initialsPrompt;
extern const QString assignmentPrompt;
QString answerPrompt();

// Start-up's messages about the name and initials. `characters` are the characters the record
// files cannot hold, each described ("\"Ł\"  U+0141 LATIN CAPITAL LETTER L WITH STROKE").
QString unheldCharacters(const QString& what, const QStringList& characters);
QString nameTooLong(qsizetype fits, qsizetype length);
QString nameRefusedByFolder();

// Messages.
QString invalidAssignment();
// Past the last paragraph; `textLeft`: the student chose to leave a text unrecorded this run.
QString endOfAssignment(bool textLeft);
QString generalError(int number);
QString unencodableText(const QStringList& characters);
// The general error message, then which files may hold part of a record that failed.
QString partlyWritten(int number, const QStringList& files);
// The general error message, then why the record files refused the record, or why it may not be
// whole, naming what stands in the way.
QString recordRefusal(const RecordRefusal& refusal);
// Told once a run: another user's journal where the name's is kept, never applied.
QString otherUsersJournal(const QString& path);

// The question "Next Question / Answer" asks before it leaves such a text unrecorded.
QString unrecordedAnswer(UnrecordedText text);

// What a screen reader is told after a click (the new paragraph is told as it is).
extern const QString responseRecorded;
extern const QString noteSaved;
extern const QString nothingRecorded;
extern const QString everythingShown;
extern const QString answerBoxEmptied;
// After "display notes": the newest note, or that there is none.
QString notesAdded(const QString& newestNote);

} // namespace desk::texts
