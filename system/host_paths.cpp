#include "system/host_paths.h"

#include <QDir>

namespace desk {

HostPaths::HostPaths(QString homeRoot, QString otherDrivesRoot)
    : underRoots_(true)
    , homeRoot_(std::move(homeRoot))
    , otherDrivesRoot_(std::move(otherDrivesRoot))
{
}

HostPaths HostPaths::asTheyAre()
{
    return HostPaths();
}

HostPaths HostPaths::forThisHost()
{
#ifdef Q_OS_WIN
    return asTheyAre();
#else
    return HostPaths(QDir::homePath(), QStringLiteral("/mnt"));
#endif
}

QString HostPaths::toHost(const QString& programPath) const
{
    if (!underRoots_)
        return programPath;
    QString rest = programPath;
    QString root;
    if (rest.size() >= 2 && rest[1] == u':' && rest[0].isLetter() && rest[0].unicode() < 128) {
        const QChar drive = rest[0].toLower();
        root = drive == u'c' ? homeRoot_ : otherDrivesRoot_ + u'/' + drive;
        rest = rest.mid(2);
    }
    rest.replace(u'\\', u'/');
    if (!root.isEmpty() && !rest.startsWith(u'/'))
        rest.prepend(u'/');
    return root + rest;
}

} // namespace desk
