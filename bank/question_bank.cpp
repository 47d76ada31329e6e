// The question bank compiled into the program: one assignment, 001 "Part C".

#include "app/main_window.h"

#include "platform/run_time_error.h"

namespace desk {

namespace {

// One line per slot from slot 1 on; an empty line separates paragraphs.
const char* const compiledInBank[] = {
    "001.  Part C",
    "",
    "Go to the incline set up at the picnic tables and time the ball as it rolls halfway down the "
    "incline and as it runs the whole distance down the incline.",
    "",
    "GIve the times you obtained and how you obtained them.",
    "",
    "Calculate the average rate of change of position with respect to clock time for the first "
    "run and for the second, given that the length of the incline is about 190 cm.",
    "",
    "Calculate the average rate of change of velocity with respect to clock time for the first "
    "run and for the second.",
    "",
    "Sketch a graph of velocity vs. clock time for the run down the first half of the incline.  "
    "What is the area under your graph and what does it mean?",
    "",
    "Sketch a graph of velocity vs. clock time for the run down the first entire incline.  What "
    "is the area under your graph and what does it mean?",
    "",
};

} // namespace

void MainWindow::loadQuestionBank()
{
    for (const char* line : compiledInBank) {
        state_.bankIndex = state_.bankIndex.plus(1);
        state_.questionBank[slotOf(state_.bankIndex)] = QString::fromLatin1(line);
    }
}

std::size_t MainWindow::slotOf(const Value& index) const
{
    const qint32 slot = index.toWhole();
    if (slot < 0 || slot > ProgramState::LastBankSlot)
        throw RunTimeError(err::SubscriptOutOfRange);
    return std::size_t(slot);
}

} // namespace desk
