// Writing records: the lock and the rollback journal of the student's record files, the header
// that start-up could not write, and the student's text kept after a record that failed.

#include "app/main_window.h"

#include "records/channels.h"
#include "records/record_file_names.h"

namespace desk {

RecordSetPaths MainWindow::recordSetPaths() const
{
    const QString name = nameForFiles(state_.studentName);
    auto holds = [name](const QString& file) {
        // A journal left by a run on another day names that day's send file.
        return file == recordfile::master(name) || file == recordfile::notes(name) || recordfile::isSend(file, name);
    };
    return {hostPath(state_.baseDir + u'\\' + recordfile::lock(name)),
            hostPath(state_.baseDir + u'\\' + recordfile::journal(name)), holds};
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
        // Every block in the master and send files stands under a header of its own run: the
        // header goes in front of the first record that succeeds, and again into a file that
        // holds nothing (the send file sent away, the master file removed, the folder made anew).
        if (header_) {
            for (int number : channels) {
                const QStringList* lines = number == channel::master ? &header_->master
                    : number == channel::send                       ? &header_->send
                                                                     : nullptr;
                if (lines && (!headerInFiles_ || files_.holdsNothing(number)))
                    for (const QString& line : *lines)
                        files_.writeLine(number, line);
            }
        }
        writeBlock();
        files_.closeTogether(channels);
    }
    headerInFiles_ = true;
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
