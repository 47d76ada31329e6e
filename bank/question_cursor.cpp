// The question cursor: fetches the next non-empty line of the assignment, keeps the transcript,
// and ends the program at the next assignment's header or the end line.

#include "app/main_window.h"

#include "app/error_policy.h"
#include "bank/line_kinds.h"
#include "runtime/numbers.h"
#include "widgets/text_box.h"

namespace desk {

void MainWindow::readNextQuestion()
{
    ProgramState& s = state_;
    trapErrors(TrappedProcedure::readNextQuestion, [&] {
        if (s.awaitingResponse.isTrue())
            txt_answer->setText(s.answerPrompt);
        s.awaitingResponse = Value::truth(false);

        QString line;
        if (s.sentencePos.isEmpty() || s.sentencePos.toNumber() == 0) {
            do {
                s.bankIndex = s.bankIndex.plus(1);
                line = s.questionBank[slotOf(s.bankIndex)];
                if (!line.isEmpty()) {
                    s.currentLine = line;
                    if (isQuestionMarker(line))
                        s.questionNumber = decimalText(leadingNumber(QStringView(line).mid(2)));
                    // In front of the transcript, in place: a long session's transcript is not
                    // copied at every click.
                    s.cumulativeText.prepend(s.questionTag + line);
                }
            } while (line.isEmpty());
            if (!isRoutineLine(line))
                s.awaitingResponse = Value::truth(true);
        }

        if (s.displayMode.equalsNumber(1))
            s.displayText = line;
        else if (s.displayMode.equalsNumber(2))
            s.displayText = nextSentence(line);

        if (line.left(3) == s.nextAssignmentNumber)
            endProgram();
        if (line.startsWith(QLatin1String("####.#")))
            endProgram();
    });
}

// Sentence by sentence (display mode 2). No command reaches this: assignment opening always sets
// display mode 1. Kept on purpose, as the described way of showing an assignment, ready for one
// that asks for it. Positions count from 1. `sentencePos` holds where the next sentence starts; empty means a new line is to be
// fetched. While a line is being walked the cursor hands over the empty text and the walk goes
// on in `currentLine`. A sentence ends with ". " (the blank included) or at the end of the line;
// reaching the end awaits a response and sends `sentencePos` back to empty.
QString MainWindow::nextSentence(const QString& line)
{
    ProgramState& s = state_;
    const QString& walked = line.isEmpty() ? s.currentLine : line;
    const qsizetype start = s.sentencePos.isEmpty() || s.sentencePos.toNumber() == 0
        ? 1
        : qsizetype(s.sentencePos.toWhole());
    const qsizetype length = walked.size();
    for (qsizetype i = start; i <= length; ++i) {
        if (i == length) {
            s.awaitingResponse = Value::truth(true);
            s.sentencePos = Value();
            return walked.mid(start - 1);
        }
        if (walked[i - 1] == u'.' && walked[i] == u' ') {
            s.sentencePos = Value::whole(qint32(i + 2));
            return walked.mid(start - 1, i + 2 - start);
        }
    }
    s.sentencePos = Value();
    return QString();
}

} // namespace desk
