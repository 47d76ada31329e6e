#pragma once
// The program names its files with Windows paths ("c:\lrnfiles\notes_Ann.txt"). On Windows they
// are used as they are; elsewhere drive c is the user's home folder and any other drive x is
// /mnt/x, so "c:\lrnfiles\a.txt" becomes "<home>/lrnfiles/a.txt". Which of the two is the
// caller's choice, so that tests keep their files under temporary roots on every system.

#include <QString>

namespace desk {

class HostPaths {
public:
    // Under these roots: `homeRoot` stands for drive c, `otherDrivesRoot` holds one folder per
    // other drive letter.
    HostPaths(QString homeRoot, QString otherDrivesRoot);
    // The program's paths used as they are.
    static HostPaths asTheyAre();
    // The host's own: as they are on Windows, elsewhere under the home folder and /mnt.
    static HostPaths forThisHost();

    QString toHost(const QString& programPath) const;

private:
    HostPaths() = default;

    bool underRoots_ = false;
    QString homeRoot_;
    QString otherDrivesRoot_;
};

} // namespace desk
