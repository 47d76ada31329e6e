#pragma once
// Whose a file is, for the storage of the records: a file of another user's is never relied on,
// and one that cannot be told is a run-time error of its folder.

#include "system/os_files.h"

#include <QString>

namespace desk {

// Whether the file of `status` in `folder` is this user's (see os::ownership). Throws the open
// error of the folder when that cannot be told.
bool ownedByThisUser(const os::Status& status, const QString& folder);

// Whether a file of another user's stands at `hostPath`.
bool isOtherUsersFile(const QString& hostPath);

} // namespace desk
