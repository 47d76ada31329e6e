#include "platform/record_transaction.h"

namespace desk {

RecordTransaction::RecordTransaction(FileChannels& files, const RecordSetPaths& paths)
    : files_(files)
    , lock_(paths.lock, files.lockWait())
    , journal_(paths.journal)
{
    if (!lock_.held())
        return;
    journal_.recover(paths.holds);
    files_.journal_ = &journal_;
}

} // namespace desk
