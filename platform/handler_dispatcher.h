#pragma once
// Every event handler runs through the dispatcher, so no C++ exception ever reaches Qt's event
// loop. It applies the program's error policy and carries out the end of the program.

#include <functional>

namespace desk {

class Dialogs;

// Thrown to end the program at once: it unwinds the running handler, so nothing more of it
// runs; the dispatcher then carries the end out. Error traps do not catch it.
struct ProgramEnd {};

[[noreturn]] void endProgramNow();

class HandlerDispatcher {
public:
    // `onEnd` closes the files and the window; it runs once, when the program ends.
    HandlerDispatcher(Dialogs& dialogs, std::function<void()> onEnd);

    // Runs one handler. A run-time error that no trap caught shows the general error message
    // with its number (or the message naming characters the files cannot hold) and the program
    // goes on. Returns false when the handler did not run to its end. After the end of the
    // program no handler runs at all.
    bool run(const std::function<void()>& handler);

    bool hasEnded() const { return ended_; }

private:
    void finish();

    Dialogs& dialogs_;
    std::function<void()> onEnd_;
    bool ended_ = false;
};

} // namespace desk
