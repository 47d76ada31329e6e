// "display notes", "display everything" and "clear box".

#include "app/main_window.h"

namespace desk {

void MainWindow::cmd_display_note_file_Click()
{
    ProgramState& s = state_;
    files_.close(3);
    ChannelGuard guard(files_, {3});
    files_.open(3, hostPath(s.notesFileName), FileMode::Input);
    // The lines run together, added to what the last command left in workText.
    QString work = s.workText;
    while (!files_.atEnd(3))
        work += files_.readLine(3);
    appendTo(txt_question, work);
    files_.close(3);
    s.workText = work;
}

void MainWindow::cmd_displayCumulativeText_Click()
{
    setTextOf(txt_question, state_.cumulativeText);
}

void MainWindow::cmd_clear_answer_box_Click()
{
    setTextOf(txt_answer, QString());
    answerKeptAfterFailure_ = false;
}

} // namespace desk
