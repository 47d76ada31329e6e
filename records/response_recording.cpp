// "Enter Response": the student's answer goes to the master and send files as a response block.

#include "app/main_window.h"

#include "app/student_texts.h"
#include "records/channels.h"
#include "records/record_lines.h"
#include "runtime/numbers.h"
#include "system/clock.h"
#include "widgets/text_box.h"

namespace desk {

void MainWindow::cmd_enter_response_Click()
{
    ProgramState& s = state_;
    const QString answer = txt_answer->text();
    if (answer != s.answerPrompt) {
        // Nothing reaches the disk unless every file takes its block, and the state changes only
        // once the block is on the disk. So a record that cannot be written leaves the files,
        // the boxes and the state as they were.
        recordStudentText({channel::master, channel::send}, [&] {
            const double key =
                leadingNumber(s.assignmentNumber) * 10000 + leadingNumber(s.questionNumber);
            auto toBoth = [&](auto line) {
                record::writeToEach(files_, {channel::master, channel::send}, line);
            };
            toBoth([] { return record::openingSeparator; });
            toBoth([&] { return record::indented(services_.clock.time()); });
            files_.writeLine(channel::master,
                             QStringLiteral("\r\n\r\n") + record::questionNumberKey
                                 + numberItem(key));
            toBoth([&] { return code(s.currentLine, s.codeNbr); });
            toBoth([] { return record::openingSeparator; });
            toBoth([] { return record::responseLabel; });
            toBoth([&] { return code(answer, s.codeNbr); });
            toBoth([] { return record::closingSeparator; });
        });

        acknowledgeRecord(answer);
        announce(texts::responseRecorded);
    } else {
        announce(texts::nothingRecorded);
    }
    clearQuestionAndAnswer();
}

void MainWindow::acknowledgeRecord(const QString& entry)
{
    ProgramState& s = state_;
    s.awaitingResponse = Value::truth(false);
    s.workText = entry;
    s.cumulativeText.prepend(s.answerTag + entry);
}

void MainWindow::clearQuestionAndAnswer()
{
    txt_question->setText(QString());
    txt_answer->setText(QString());
}

} // namespace desk
