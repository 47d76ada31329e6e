// The question bank: the lines of the assignments compiled into the program, stored from slot 1 on.

#include "app/main_window.h"

#include "bank/compiled_bank.h"
#include "runtime/run_time_error.h"

namespace desk {

void MainWindow::loadQuestionBank()
{
    for (const std::u16string_view line : compiledInBank) {
        state_.bankIndex = state_.bankIndex.plus(1);
        state_.questionBank[slotOf(state_.bankIndex)] = QStringView(line).toString();
    }
}

std::size_t MainWindow::slotOf(const Value& index) const
{
    const qint32 slot = index.toWhole();
    if (slot < 0 || slot > LastBankSlot)
        throw RunTimeError(err::SubscriptOutOfRange);
    return std::size_t(slot);
}

} // namespace desk
