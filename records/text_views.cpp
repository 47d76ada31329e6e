// "display notes", "display everything" and "clear box".

#include "app/main_window.h"

#include "app/error_policy.h"
#include "records/channels.h"
#include "widgets/text_box.h"

namespace desk {

void MainWindow::cmd_display_note_file_Click()
{
    ProgramState& s = state_;
    // Closing the notes channel first changes nothing: no command leaves it open.
    files_.close(channel::notes);
    ChannelGuard guard(files_, {channel::notes});
    files_.open(channel::notes, hostPath(s.notesFileName), FileMode::Input);
    // The lines run together, added to what the last command left in workText.
    QString work = s.workText;
    while (!files_.atEnd(channel::notes))
        work += files_.readLine(channel::notes);
    txt_question->append(work);
    files_.close(channel::notes);
    s.workText = work;
    announce(QStringLiteral("Your notes added to the questions box"));
}

void MainWindow::cmd_displayCumulativeText_Click()
{
    txt_question->setText(state_.cumulativeText);
    announce(QStringLiteral("Everything of this run shown in the questions box, newest first"));
}

void MainWindow::cmd_clear_answer_box_Click()
{
    txt_answer->setText(QString());
    answerText_ = UnrecordedText::Typed;
    announce(QStringLiteral("Answer box emptied"));
}

} // namespace desk
