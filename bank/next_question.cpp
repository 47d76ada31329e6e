// "Next Question / Answer", "next picture" and the routine lines of the bank.

#include "app/main_window.h"

#include "app/error_policy.h"
#include "app/student_texts.h"
#include "bank/line_kinds.h"
#include "widgets/dialogs.h"
#include "widgets/text_box.h"

namespace desk {

void MainWindow::cmdNextQuestion_Click()
{
    ProgramState& s = state_;
    if (!leaveUnrecordedText())
        return;
    trapErrors(TrappedProcedure::cmdNextQuestion_Click, [&] {
        readNextQuestion();
        if (s.displayText.size() > 8 && isRoutineLine(s.displayText)) {
            runRoutine(remSpaces(routineName(s.displayText)).toLower());
            s.displayText.clear();
            // The line after a routine line is shown whatever it is.
            readNextQuestion();
        }
        // The box gets only what is new: the same text as setting it to its text followed by
        // displayText, without laying out again all that a long session has put there. workText
        // ends as that text; it lets go of the box's text first, so that the box adds to it in
        // place instead of copying it.
        s.workText.clear();
        txt_question->append(s.displayText);
        s.workText = txt_question->text();
        if (!s.displayText.isEmpty())
            announce(s.displayText);
        s.displayText.clear();
    });
}

bool MainWindow::leaveUnrecordedText()
{
    const QString text = txt_answer->text();
    const bool nothingTyped = text.trimmed().isEmpty() || text == state_.answerPrompt;
    if (!nothingTyped && !services_.dialogs.askYesNo(texts::unrecordedAnswer(answerText_)))
        return false;
    // The text was typed for the paragraph shown: recorded later, it would be filed under another.
    if (!nothingTyped) {
        textLeftUnrecorded_ = true;
        txt_answer->setText(state_.answerPrompt);
    }
    answerText_ = UnrecordedText::Typed;
    return true;
}

void MainWindow::cmd_next_picture_Click()
{
    ProgramState& s = state_;
    for (qint32 j = 1; j <= 2; ++j) {
        const QString& line = s.questionBank[slotOf(s.bankIndex.plus(j))];
        if (isRoutineLine(line)) {
            runRoutine(remSpaces(routineName(line)).toLower());
            s.bankIndex = s.bankIndex.plus(j);
        }
    }
}

QString MainWindow::remSpaces(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'-')
            result += c;
    return result;
}

void MainWindow::runRoutine(const QString& routine)
{
    const QString name = routine.toLower();
    if (name == QLatin1String("graph1") || name == QLatin1String("graph2")
        || name == QLatin1String("graph3"))
        return;
    // "exitprog", and any name the program does not know, end the program.
    endProgram();
}

} // namespace desk
