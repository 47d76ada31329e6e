// Writing records: the lock and the rollback journal of the student's record files, the header
// that start-up could not write, and the student's text kept after a record that failed.

#include "app/main_window.h"

#include "app/student_texts.h"
#include "runtime/run_time_error.h"
#include "storage/file_owner.h"
#include "widgets/dialogs.h"

#include "records/channels.h"
#include "records/record_file_names.h"
#include "storage/record_transaction.h"

namespace desk {

namespace {

// Whether a failed record may have left its block, or part of it, in the files.
bool mayHoldPartOfRecord(const RunTimeError& error)
{
    if (const auto* refusal = dynamic_cast<const RecordRefusal*>(&error))
        return refusal->reason() == RecordRefusal::Reason::MayNotBeWhole
            || refusal->reason() == RecordRefusal::Reason::RecordFileMoved;
    return dynamic_cast<const PartlyWrittenError*>(&error) != nullptr;
}

} // namespace

RecordSetPaths MainWindow::recordSetPaths() const
{
    const RecordFileNames files(state_.baseDir, state_.studentName);
    auto inFolder = [&](RecordFileNames::File file) { return hostPath(files.path(file)); };
    return {inFolder(RecordFileNames::Lock), inFolder(RecordFileNames::Journal),
            inFolder(RecordFileNames::UserLock), inFolder(RecordFileNames::UserJournal),
            [files](const QString& file) { return files.holds(file); }};
}

void MainWindow::writeRecord(std::initializer_list<int> channels,
                             const std::function<void()>& writeBlock)
{
    const ProgramState& s = state_;
    QStringList leftAlone;
    recordReachedFiles_ = false;
    {
        RecordTransaction record(files_, recordSetPaths(), recordLockWait_);
        ChannelGuard guard(files_, channels);
        for (int number : channels) {
            const QString file = hostPath(number == channel::master     ? s.masterFileName
                                              : number == channel::send ? s.sendFileName
                                                                        : s.notesFileName);
            // Another user could empty such a file at any time, records and all: looked at before
            // it is opened (it may not open at all) and after (it may have been made meanwhile).
            if (isOtherUsersFile(file))
                throw RecordRefusal(RecordRefusal::Reason::OtherUsersRecordFile, {file});
            files_.open(number, file, FileMode::Append);
            if (files_.isOtherUsersFile(number))
                throw RecordRefusal(RecordRefusal::Reason::OtherUsersRecordFile, {file});
        }
        // Every block in the master and send files stands under a header of its own run: the
        // header goes in front of the first record that succeeds, and again into a file that
        // holds nothing (the send file sent away, the master file removed, the folder made anew).
        if (header_) {
            for (int number : channels) {
                const QStringList* lines = number == channel::master ? &header_->master
                    : number == channel::send                        ? &header_->send
                                                                     : nullptr;
                if (lines && (!headerInFiles_ || files_.holdsNothing(number)))
                    for (const QString& line : *lines)
                        files_.writeLine(number, line);
            }
        }
        writeBlock();
        recordReachedFiles_ = true;
        record.closeTogether(channels);
        leftAlone = record.leftAlone();
    }
    headerInFiles_ = true;
    for (const QString& path : leftAlone) {
        if (!otherUsersJournalsNamed_.contains(path)) {
            otherUsersJournalsNamed_ << path;
            services_.dialogs.messageBox(texts::otherUsersJournal(path));
        }
    }
}

void MainWindow::recordStudentText(std::initializer_list<int> channels,
                                   const std::function<void()>& writeBlock)
{
    try {
        writeRecord(channels, writeBlock);
    } catch (const RunTimeError& error) {
        // Only a failure while the files were written may have left this record in them; one
        // before (an earlier record that could not be taken back) did not.
        answerText_ = recordReachedFiles_ && mayHoldPartOfRecord(error)
            ? UnrecordedText::MayBeInFiles
            : UnrecordedText::Refused;
        throw;
    } catch (...) {
        answerText_ = UnrecordedText::Refused;
        throw;
    }
    answerText_ = UnrecordedText::Typed;
}

} // namespace desk
