// "Save as Notes": the note goes to the master, send and notes files as a notes block.

#include "app/main_window.h"

#include "app/student_texts.h"
#include "records/channels.h"
#include "records/record_lines.h"
#include "system/clock.h"
#include "widgets/text_box.h"

namespace desk {

void MainWindow::cmd_save_as_notes_Click()
{
    ProgramState& s = state_;
    const QString note = txt_answer->text();
    if (note != s.answerPrompt) {
        const QString workText = record::notesLabel + note;
        // Unlike "Enter Response", notes saving closes its channels before opening them; none
        // is ever open here, so this changes nothing.
        files_.closeTogether({channel::master, channel::send, channel::notes});
        // As for a response: the block reaches all three files or none, and the state changes
        // only once it is on the disk.
        recordStudentText({channel::master, channel::send, channel::notes}, [&] {
            auto toAll = [&](auto line) {
                record::writeToEach(files_, {channel::master, channel::send, channel::notes}, line);
            };
            toAll([] { return record::openingSeparator; });
            toAll([&] { return record::indented(services_.clock.time()); });
            toAll(
                [&] { return record::indented(services_.clock.date() + services_.clock.time()); });
            toAll([&] { return code(s.currentLine, s.codeNbr); });
            toAll([] { return record::openingSeparator; });
            toAll([&] { return code(workText, s.codeNbr); });
            toAll([] { return record::closingSeparator; });
        });

        acknowledgeRecord(workText);
        announce(texts::noteSaved);
    } else {
        announce(texts::nothingRecorded);
    }
    clearQuestionAndAnswer();
}

} // namespace desk
