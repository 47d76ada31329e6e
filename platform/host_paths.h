#pragma once
// The program names its files with Windows paths ("c:\lrnfiles\notes_Ann.txt"). On Windows they
// are used as they are; elsewhere drive c is the user's home folder and any other drive x is
// /mnt/x, so "c:\lrnfiles\a.txt" becomes "<home>/lrnfiles/a.txt".

#include <QString>

namespace desk {

class HostPaths {
public:
    // `homeRoot` stands for drive c, `otherDrivesRoot` holds one folder per other drive letter.
    HostPaths(QString homeRoot, QString otherDrivesRoot);
    // The host's own: the home folder and /mnt (not used on Windows).
    static HostPaths forThisHost();

    QString toHost(const QString& programPath) const;

private:
    QString homeRoot_;
    QString otherDrivesRoot_;
};

} // namespace desk
