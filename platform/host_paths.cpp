#include "platform/host_paths.h"

#include <QDir>

namespace desk {

HostPaths::HostPaths(QString homeRoot, QString otherDrivesRoot)
    : homeRoot_(std::move(homeRoot))
    , otherDrivesRoot_(std::move(otherDrivesRoot))
{
}

HostPaths HostPaths::forThisHost()
{
    return HostPaths(QDir::homePath(), QStringLiteral("/mnt"));
}

QString HostPaths::toHost(const QString& programPath) const
{
#ifdef Q_OS_WIN
    return programPath;
#else
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
#endif
}

} // namespace desk
