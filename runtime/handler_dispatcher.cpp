#include "runtime/handler_dispatcher.h"

#include <exception>
#include <new>

namespace desk {

namespace {

// Reports what stopped a handler as a numbered error. Nothing may leave here: should showing
// the message fail as well (no memory left), the program goes on without it.
void reportCaught(const HandlerDispatcher::Report& report,
                  const std::exception_ptr& caught) noexcept
{
    try {
        try {
            std::rethrow_exception(caught);
        } catch (const RunTimeError& error) {
            report(error);
        } catch (const std::bad_alloc&) {
            report(RunTimeError(err::OutOfMemory));
        } catch (...) {
            report(RunTimeError(err::InternalError));
        }
    } catch (...) {
    }
}

} // namespace

HandlerOutcome HandlerDispatcher::run(const std::function<void()>& handler, const Report& report)
{
    if (ended_)
        return HandlerOutcome::NotRun;
    try {
        handler();
        return HandlerOutcome::Completed;
    } catch (const ProgramEnd&) {
        // A handler still running when another ended the program (from inside a message box)
        // may end it again; the end is carried out once.
        if (ended_)
            return HandlerOutcome::NotRun;
        ended_ = true;
        return HandlerOutcome::EndedProgram;
    } catch (...) {
        reportCaught(report, std::current_exception());
        return HandlerOutcome::Failed;
    }
}

} // namespace desk
