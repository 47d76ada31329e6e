// The program's error policy, all in one place:
// - setUpProgram, openAssignment, readNextQuestion and cmdNextQuestion_Click arm the error trap:
//   on a run-time error their remaining steps are skipped, the trap's message is shown, and the
//   procedure returns. Only assignment opening goes on to end the program, on error 9 (the
//   assignment is not in the bank, or its number is beyond the table's 100): the message says so.
//   The question cursor reaches error 9 when it runs past the bank's last slot, which is where
//   every assignment of the bank ends: there the student is told the assignment is finished.
// - Every other handler has no trap: an error stops it, the general error message with the number
//   is shown, and the program goes on, so that the student keeps the session.
// - A failing timer tick is reported once, not 67 times a second.
// The texts themselves are in app/student_texts.cpp.

#include "app/main_window.h"

#include "app/error_policy.h"
#include "app/student_texts.h"
#include "runtime/error_trap.h"
#include "runtime/run_time_error.h"
#include "widgets/dialogs.h"

#include <utility>

namespace desk {

QString trapMessage(const RunTimeError& error)
{
    if (auto* refusal = dynamic_cast<const RecordRefusal*>(&error))
        return texts::recordRefusal(*refusal);
    if (auto* partly = dynamic_cast<const PartlyWrittenError*>(&error))
        return texts::partlyWritten(partly->number(), partly->files());
    if (auto* unencodable = dynamic_cast<const UnencodableTextError*>(&error))
        return texts::unencodableText(unencodable->characters());
    if (error.number() == err::SubscriptOutOfRange)
        return texts::invalidAssignment();
    return texts::generalError(error.number());
}

QString untrappedMessage(const RunTimeError& error)
{
    // Even error 9 is reported with its number: the invalid-assignment message would wrongly tell
    // the student that the program ends.
    if (error.number() == err::SubscriptOutOfRange)
        return texts::generalError(error.number());
    return trapMessage(error);
}

void MainWindow::trapErrors(TrappedProcedure procedure, const std::function<void()>& steps)
{
    const int error = runTrapped(steps, [&](const RunTimeError& e) {
        const bool pastLastParagraph = procedure == TrappedProcedure::readNextQuestion
            && e.number() == err::SubscriptOutOfRange && state_.bankIndex.toNumber() > LastBankSlot;
        services_.dialogs.messageBox(pastLastParagraph ? texts::endOfAssignment(textLeftUnrecorded_)
                                                       : trapMessage(e));
    });
    if (procedure == TrappedProcedure::openAssignment && error == err::SubscriptOutOfRange)
        endProgram();
}

void MainWindow::reportUntrapped(const RunTimeError& error)
{
    services_.dialogs.messageBox(untrappedMessage(error));
}

bool MainWindow::runHandler(void (MainWindow::*handler)())
{
    return dispatch([this, handler] { (this->*handler)(); },
                    [this](const RunTimeError& error) { reportUntrapped(error); });
}

void MainWindow::runTick()
{
    dispatch([this] { tmr_pend_exp_Timer(); },
             [this](const RunTimeError& error) {
                 if (!std::exchange(tickErrorShown_, true))
                     reportUntrapped(error);
             });
}

} // namespace desk
