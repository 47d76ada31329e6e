// Assignment opening: finds the assignment in the bank and appends the six-line header to the
// master and send files.

#include "app/main_window.h"

#include "app/error_policy.h"
#include "records/channels.h"
#include "records/record_lines.h"
#include "runtime/numbers.h"
#include "runtime/run_time_error.h"
#include "system/clock.h"

namespace desk {

void MainWindow::openAssignment()
{
    trapErrors(TrappedProcedure::openAssignment, [this] {
        ChannelGuard guard(files_, {channel::master, channel::send});
        const QString header = findAssignmentHeader();
        state_.displayMode = Value::whole(1);
        // The header is made before any file is touched: if it cannot be written now (a full
        // disk, an unreachable folder, another copy holding the lock), the first record that
        // succeeds writes it, with the date and time of this start-up.
        header_ = headerLines(header);
        createMasterFile();
        takeStartQuestion();
        // Closed once more before the header is written; it is closed already.
        files_.close(channel::master);
        // A record with no block of its own: only the header goes in, under the lock and the
        // journal like any record.
        writeRecord({channel::master, channel::send}, [] {});
    });
}

QString MainWindow::findAssignmentHeader()
{
    // Leaves the cursor on the header; an assignment not in the bank runs past slot 5000 (9).
    ProgramState& s = state_;
    s.bankIndex = Value::whole(0);
    const QString key = s.assignmentNumber + u'.';
    QString header;
    while (header.left(4) != key) {
        s.bankIndex = s.bankIndex.plus(1);
        header = s.questionBank[slotOf(s.bankIndex)];
    }
    return header;
}

MainWindow::HeaderLines MainWindow::headerLines(const QString& assignmentHeader)
{
    const ProgramState& s = state_;
    HeaderLines lines;
    const QString codeLine = makeCodeLine(s.codeNbr);
    for (QStringList* file : {&lines.master, &lines.send}) {
        *file << codeLine << code(record::studentNameLabel + s.studentName, s.codeNbr)
              << code(record::assignmentLabel + s.assignmentNumber, s.codeNbr)
              << code(assignmentHeader, s.codeNbr) << record::initialsLabel + s.studentInitials;
        // The send file has a blank between the date and the time; the master file has none.
        const QString date = services_.clock.date();
        const QString between = file == &lines.master ? QString() : QStringLiteral(" ");
        *file << record::dateAndTimeLabel + date + between + services_.clock.time();
    }
    return lines;
}

void MainWindow::createMasterFile()
{
    // The master file is made before the header is written, so that it exists even when the
    // assignment then proves out of bounds. Closing channel 1 first is harmless: it is never
    // open here.
    files_.close(channel::master);
    files_.open(channel::master, hostPath(state_.masterFileName), FileMode::Append);
    files_.close(channel::master);
}

// No row of the table is ever filled, so the start question is always empty; kept on purpose,
// because the table's bounds are what refuse an assignment numbered above 100 (error 9).
void MainWindow::takeStartQuestion()
{
    ProgramState& s = state_;
    const double row = roundHalfEven(leadingNumber(s.assignmentNumber));
    if (row < 0 || row > ProgramState::LastAssignmentRow)
        throw RunTimeError(err::SubscriptOutOfRange);
    s.startQuestion = s.startQuestions[size_t(row)][ProgramState::StartQuestionColumns - 1];
}

} // namespace desk
