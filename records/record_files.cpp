// Writing records: the lock and the rollback journal of the student's record files, the header
// that start-up could not write, and the student's text kept after a record that failed.

#include "app/main_window.h"

#include "records/channels.h"

#include <algorithm>

namespace desk {

RecordSetPaths MainWindow::recordSetPaths() const
{
    // Hidden files of the program's own, named after the student like the record files.
    const QString name = nameForFiles(state_.studentName);
    const QString master = QStringLiteral("masterFile_") + name + QStringLiteral(".txt");
    const QString notes = QStringLiteral("notes_") + name + QStringLiteral(".txt");
    // A journal left by a run on another day names that day's send file.
    const QString send = QStringLiteral("send_") + name + QStringLiteral(".txt");
    auto holds = [=](const QString& file) {
        if (file == master || file == notes)
            return true;
        if (file.size() != send.size() + 4 || !file.startsWith(QLatin1String("send_")) || !file.endsWith(send.mid(5)))
            return false;
        const QStringView day = QStringView(file).mid(5, 4);
        return std::all_of(day.begin(), day.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    return {hostPath(state_.baseDir + QStringLiteral("\\.desk-lock_") + name),
            hostPath(state_.baseDir + QStringLiteral("\\.desk-journal_") + name), holds};
}

void MainWindow::writeRecord(std::initializer_list<int> channels, const std::function<void()>& writeBlock)
{
    const ProgramState& s = state_;
    {
        RecordTransaction record(files_, recordSetPaths());
        ChannelGuard guard(files_, channels);
        for (int number : channels) {
            const QString& file = number == channel::master ? s.masterFileName
                : number == channel::send                  ? s.sendFileName
                                                           : s.notesFileName;
            files_.open(number, hostPath(file), FileMode::Append);
        }
        // So every block in the master and send files stands under a header of its own run.
        if (unwrittenHeader_) {
            for (const QString& line : unwrittenHeader_->master)
                files_.writeLine(channel::master, line);
            for (const QString& line : unwrittenHeader_->send)
                files_.writeLine(channel::send, line);
        }
        writeBlock();
        files_.closeTogether(channels);
    }
    unwrittenHeader_.reset();
}

void MainWindow::recordStudentText(std::initializer_list<int> channels, const std::function<void()>& writeBlock)
{
    try {
        writeRecord(channels, writeBlock);
    } catch (...) {
        answerKeptAfterFailure_ = true;
        throw;
    }
    answerKeptAfterFailure_ = false;
}

} // namespace desk
