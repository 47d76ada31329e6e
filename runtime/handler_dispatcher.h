#pragma once
// Every event handler runs through the dispatcher, so no C++ exception ever reaches Qt's event
// loop: a run-time error, a lack of memory or any other exception stops the handler and is
// handed to the caller's report as a numbered error, and the end of the program unwinds the
// handler and is handed back to the caller to carry out.

#include "runtime/run_time_error.h"

#include <functional>

namespace desk {

// Thrown to end the program at once: it unwinds the running handler, so nothing more of it runs.
// Error traps do not catch it.
struct ProgramEnd { };

enum class HandlerOutcome {
    Completed,    // the handler ran to its end
    Failed,       // an error stopped it; the report was made
    EndedProgram, // it ended the program; the caller carries the end out
    NotRun,       // the program had ended before: no handler runs any more
};

class HandlerDispatcher {
public:
    using Report = std::function<void(const RunTimeError&)>;

    // Runs one handler. Out of memory is reported as error 7, any other exception as error 51.
    HandlerOutcome run(const std::function<void()>& handler, const Report& report);

    bool hasEnded() const { return ended_; }

private:
    bool ended_ = false;
};

} // namespace desk
