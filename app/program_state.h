#pragma once
// The program state: every variable the main window owns for the whole run, in the order the
// window declares them. Start-up fills most of them; the handlers change a few as the student
// works. Nothing of it is saved between runs.

#include "bank/compiled_bank.h"
#include "runtime/value.h"

#include <QString>

#include <array>
#include <vector>

namespace desk {

struct ProgramState {
    QString displayText;    // prepared by the question cursor for the next-question command
    Value sentencePos;      // sentence mode: position in currentLine reached so far
    Value awaitingResponse; // truth value: a paragraph was shown and nothing recorded for it
    QString currentLine;    // the last non-empty bank line fetched
    QString masterFileName;
    QString sendFileName;
    QString notesFileName;
    QString assignmentNumber; // as answered, filled to three characters
    QString nextAssignmentNumber;
    QString answerPrompt;   // put into the answer box when a new paragraph is shown
    Value displayMode;      // 1 whole lines, 2 sentence by sentence
    QString questionNumber; // from the last question-marker line
    QString workText;       // scratch text of the handlers
    QString cumulativeText; // the transcript, newest entry first
    QString questionTag;
    QString answerTag;
    QString queryFileId; // never set: the query files are query.txt and queri.txt
    // The start-question table, rows 0..100 by columns 0..50. Never filled, so every entry
    // stays empty; it bounds the assignment number to 0..100.
    static constexpr int LastAssignmentRow = 100;
    static constexpr int StartQuestionColumns = 51;
    std::vector<std::array<Value, StartQuestionColumns>> startQuestions =
        std::vector<std::array<Value, StartQuestionColumns>>(LastAssignmentRow + 1);
    Value startQuestion;
    QString baseDir;
    Value bankIndex; // the bank cursor: the slot last stored or fetched
    std::vector<QString> questionBank = std::vector<QString>(LastBankSlot + 1);
    QString studentName;
    Value codeNbr; // the run's coding number, 19..28
    QString studentInitials;
};

} // namespace desk
