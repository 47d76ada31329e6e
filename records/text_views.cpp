// "display notes", "display everything" and "clear box".

#include "app/main_window.h"

#include "app/student_texts.h"
#include "records/channels.h"
#include "records/record_lines.h"
#include "widgets/text_box.h"

#include <algorithm>

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
    QStringList lines;
    while (!files_.atEnd(channel::notes)) {
        lines << files_.readLine(channel::notes);
        work += lines.back();
    }
    txt_question->append(work);
    files_.close(channel::notes);
    s.workText = work;
    announce(texts::notesAdded(newestNote(lines)));
}

QString MainWindow::newestNote(const QStringList& notesFileLines)
{
    // The rest is in the box, where it can be read line by line.
    constexpr qsizetype longest = 300;
    const auto label =
        std::find_if(notesFileLines.rbegin(), notesFileLines.rend(),
                     [](const QString& line) { return line.startsWith(record::notesLabel); });
    QStringList note;
    if (label != notesFileLines.rend()) {
        note << label->mid(record::notesLabel.size());
        for (auto line = label.base();
             line != notesFileLines.end() && *line != record::closingSeparator; ++line)
            note << *line;
    } else if (!notesFileLines.isEmpty()) {
        note << notesFileLines.back(); // a notes file written by hand: its last line
    }
    QString text = note.join(u' ').simplified();
    if (text.size() > longest)
        text = text.left(longest) + u'\u2026';
    return text;
}

void MainWindow::cmd_displayCumulativeText_Click()
{
    txt_question->setText(state_.cumulativeText);
    announce(texts::everythingShown);
}

void MainWindow::cmd_clear_answer_box_Click()
{
    txt_answer->setText(QString());
    answerText_ = UnrecordedText::Typed;
    announce(texts::answerBoxEmptied);
}

} // namespace desk
