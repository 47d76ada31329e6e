#pragma once
// While a record is being written, SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed
// terminal) wait until it is done, then take effect as they would have: the record reaches
// every file of its record, and an ordinary logout never leaves a block half written.
//
// The first deferral also makes SIGPIPE and SIGXFSZ harmless: a write that fails reports its
// error (a file over the size limit is a full disk) instead of ending the program.

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
