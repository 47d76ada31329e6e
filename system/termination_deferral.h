#pragma once
// While a record is being written, a request to end the program (a logout, Ctrl+C, a closed
// terminal) waits until it is done, then takes effect as it would have: the record reaches every
// file of its record, and an ordinary logout never leaves a block half written.
//
// On POSIX systems these are SIGTERM, SIGINT and SIGHUP, and the first deferral also makes
// SIGPIPE and SIGXFSZ harmless: a write that fails reports its error (a file over the size limit
// is a full disk) instead of ending the program. On Windows see system/windows.

namespace desk {

class TerminationDeferral {
public:
    TerminationDeferral();
    // Lets a signal that came meanwhile take effect.
    ~TerminationDeferral();
    TerminationDeferral(const TerminationDeferral&) = delete;
    TerminationDeferral& operator=(const TerminationDeferral&) = delete;
};

} // namespace desk
