#pragma once
// The error trap: a procedure that arms it has its remaining steps skipped on a run-time error,
// and goes on after the trap. What the student is told, and what follows the trap in each
// procedure, is the program's own policy (app/error_policy.cpp).

#include "runtime/run_time_error.h"

namespace desk {

// Runs the guarded steps. On a run-time error hands it to `onError` and returns its number;
// returns 0 when the steps ran through. Anything else (the end of the program) passes through.
template<typename Steps, typename OnError> int runTrapped(Steps&& steps, OnError&& onError)
{
    try {
        steps();
        return 0;
    } catch (const RunTimeError& error) {
        onError(error);
        return error.number();
    }
}

} // namespace desk
