#include "platform/handler_dispatcher.h"

#include "platform/dialogs.h"
#include "platform/error_trap.h"
#include "platform/run_time_error.h"

#include <new>

namespace desk {

void endProgramNow()
{
    throw ProgramEnd{};
}

HandlerDispatcher::HandlerDispatcher(Dialogs& dialogs, std::function<void()> onEnd)
    : dialogs_(dialogs)
    , onEnd_(std::move(onEnd))
{
}

bool HandlerDispatcher::run(const std::function<void()>& handler)
{
    if (ended_)
        return false;
    try {
        handler();
        return true;
    } catch (const ProgramEnd&) {
        finish();
    } catch (const RunTimeError& error) {
        // Without a trap of its own, even error 9 is reported with its number: the
        // invalid-assignment message would wrongly tell the student that the program ends.
        dialogs_.messageBox(error.number() == err::SubscriptOutOfRange
                                ? generalErrorMessage(error.number())
                                : trapMessage(error));
    } catch (const std::bad_alloc&) {
        dialogs_.messageBox(generalErrorMessage(err::OutOfMemory));
    } catch (...) {
        dialogs_.messageBox(generalErrorMessage(err::InternalError));
    }
    return false;
}

void HandlerDispatcher::finish()
{
    if (ended_)
        return;
    ended_ = true;
    if (onEnd_)
        onEnd_();
}

} // namespace desk
