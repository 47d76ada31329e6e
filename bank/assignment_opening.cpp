// Assignment opening: finds the assignment in the bank and appends the six-line header to the
// master and send files.

#include "app/main_window.h"

#include "records/channels.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/error_trap.h"
#include "platform/numbers.h"
#include "platform/run_time_error.h"

namespace desk {

void MainWindow::openAssignment()
{
    ProgramState& s = state_;
    const int error = runTrapped(services_.dialogs, [&] {
        ChannelGuard guard(files_, {channel::master, channel::send});

        s.bankIndex = Value::whole(0);
        const QString key = s.assignmentNumber + u'.';
        QString header;
        while (header.left(4) != key) {
            s.bankIndex = s.bankIndex.plus(1);
            header = s.questionBank[slotOf(s.bankIndex)];
        }
        s.displayMode = Value::whole(1);

        // The header is made before any file is touched: if it cannot be written now (a full
        // disk, an unreachable folder, another copy holding the lock), the first record that
        // succeeds writes it, with the date and time of this start-up.
        HeaderLines lines;
        const QString codeLine = makeCodeLine(s.codeNbr);
        for (QStringList* file : {&lines.master, &lines.send}) {
            *file << codeLine << code(QStringLiteral("Student Name:  ") + s.studentName, s.codeNbr)
                  << code(QStringLiteral("assignment #") + s.assignmentNumber, s.codeNbr) << code(header, s.codeNbr)
                  << QStringLiteral("Initials:  ") + s.studentInitials;
            const QString date = services_.clock.date();
            const QString between = file == &lines.master ? QString() : QStringLiteral(" ");
            *file << QStringLiteral("Date and Time ") + date + between + services_.clock.time();
        }
        unwrittenHeader_ = lines;

        // The master file is made before the header is written, so that it exists even when the
        // assignment then proves out of bounds. Closing channel 1 before and after is harmless:
        // it is never open here.
        files_.close(channel::master);
        files_.open(channel::master, hostPath(s.masterFileName), FileMode::Append);
        files_.close(channel::master);

        // The start-question table is never filled; its rows bound the assignment number.
        const double row = roundHalfEven(leadingNumber(s.assignmentNumber));
        if (row < 0 || row > ProgramState::LastAssignmentRow)
            throw RunTimeError(err::SubscriptOutOfRange);
        s.startQuestion = s.startQuestions[size_t(row)][ProgramState::StartQuestionColumns - 1];
        // Closed once more before the header is written; it is closed already.
        files_.close(channel::master);

        writeRecord({channel::master, channel::send}, [] {});
    });
    if (error == err::SubscriptOutOfRange)
        endProgram();
}

} // namespace desk
