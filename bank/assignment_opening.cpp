// Assignment opening: finds the assignment in the bank and appends the six-line header to the
// master and send files.

#include "app/main_window.h"

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
        ChannelGuard guard(files_, {1, 2});

        s.bankIndex = Value::whole(0);
        const QString key = s.assignmentNumber + u'.';
        QString header;
        while (header.left(4) != key) {
            s.bankIndex = s.bankIndex.plus(1);
            header = s.questionBank[slotOf(s.bankIndex)];
        }
        s.displayMode = Value::whole(1);

        const QString master = hostPath(s.masterFileName);
        const QString send = hostPath(s.sendFileName);
        files_.close(1);
        files_.open(1, master, FileMode::Append);
        files_.close(1);

        // The start-question table is never filled; its rows bound the assignment number.
        const double row = roundHalfEven(leadingNumber(s.assignmentNumber));
        if (row < 0 || row > ProgramState::LastAssignmentRow)
            throw RunTimeError(err::SubscriptOutOfRange);
        s.startQuestion = s.startQuestions[size_t(row)][ProgramState::StartQuestionColumns - 1];
        files_.close(1);

        files_.open(1, master, FileMode::Append);
        files_.open(2, send, FileMode::Append);
        const QString codeLine = makeCodeLine(s.codeNbr);
        for (int channel : {1, 2}) {
            files_.writeLine(channel, codeLine);
            files_.writeLine(channel, code(QStringLiteral("Student Name:  ") + s.studentName, s.codeNbr));
            files_.writeLine(channel, code(QStringLiteral("assignment #") + s.assignmentNumber, s.codeNbr));
            files_.writeLine(channel, code(header, s.codeNbr));
            files_.writeLine(channel, QStringLiteral("Initials:  ") + s.studentInitials);
            const QString date = services_.clock.date();
            const QString between = channel == 1 ? QString() : QStringLiteral(" ");
            files_.writeLine(channel, QStringLiteral("Date and Time ") + date + between + services_.clock.time());
        }
        files_.closeTogether({1, 2});
    });
    if (error == err::SubscriptOutOfRange)
        endProgram();
}

} // namespace desk
