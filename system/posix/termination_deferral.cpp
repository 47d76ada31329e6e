#include "system/termination_deferral.h"

#include <atomic>
#include <csignal>
#include <mutex>

namespace desk {

namespace {

std::atomic<int> depth{0};
std::atomic<int> pendingSignal{0};

void terminateWith(int signalNumber)
{
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// May run on any thread of the process. The order of the two atomics makes sure that a signal
// is either seen by the deferral's end or handled here: it is never lost.
void onTermination(int signalNumber)
{
    pendingSignal.store(signalNumber);
    if (depth.load() == 0)
        terminateWith(signalNumber);
}

void installOnce()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        std::signal(SIGPIPE, SIG_IGN);
        std::signal(SIGXFSZ, SIG_IGN);
        for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction current { };
            // A signal the program was started to ignore (nohup) stays ignored.
            if (::sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
                continue;
            struct sigaction deferring { };
            deferring.sa_handler = onTermination;
            sigemptyset(&deferring.sa_mask);
            deferring.sa_flags = SA_RESTART;
            ::sigaction(signalNumber, &deferring, nullptr);
        }
    });
}

} // namespace

TerminationDeferral::TerminationDeferral()
{
    installOnce();
    depth.fetch_add(1);
}

TerminationDeferral::~TerminationDeferral()
{
    if (depth.fetch_sub(1) != 1)
        return;
    if (const int signalNumber = pendingSignal.exchange(0))
        terminateWith(signalNumber);
}

} // namespace desk
