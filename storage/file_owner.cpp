#include "storage/file_owner.h"

#include "runtime/run_time_error.h"

#include <QFileInfo>

namespace desk {

bool ownedByThisUser(const os::Status& status, const QString& folder)
{
    const os::Ownership owner = os::ownership(status, folder);
    if (owner.error != 0)
        throw RunTimeError(os::errorForOpen(owner.error, false, folder), folder);
    return owner.thisUsers;
}

bool isOtherUsersFile(const QString& hostPath)
{
    const os::Status there = os::statusAt(hostPath);
    return there.error == 0 && there.kind == os::Kind::File
        && !ownedByThisUser(there, QFileInfo(hostPath).absolutePath());
}

} // namespace desk
