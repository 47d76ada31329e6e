// On Windows a record runs on the window's thread and does not let its messages through, so a
// logout or shutdown (WM_QUERYENDSESSION, WM_ENDSESSION) reaches the program only between
// records, as a SIGTERM on Linux takes effect only after one. What arrives on a thread of its
// own, a console's Ctrl+C, close, logoff or shutdown event, waits here until the record is done.

#include "system/termination_deferral.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace desk {

namespace {

std::atomic<int> depth{0};

BOOL WINAPI onConsoleEvent(DWORD)
{
    // Runs on a thread of its own; the system ends the process when it returns FALSE, and gives
    // it a few seconds, far more than a record takes.
    while (depth.load() > 0)
        Sleep(5);
    return FALSE;
}

void installOnce()
{
    static std::once_flag installed;
    std::call_once(installed, [] { SetConsoleCtrlHandler(onConsoleEvent, TRUE); });
}

} // namespace

TerminationDeferral::TerminationDeferral()
{
    installOnce();
    depth.fetch_add(1);
}

TerminationDeferral::~TerminationDeferral()
{
    depth.fetch_sub(1);
}

} // namespace desk
