#include "records/record_file_names.h"

#include "system/os_files.h"

#include <algorithm>

namespace desk::recordfile {

QString master(const QString& name)
{
    return QStringLiteral("masterFile_") + name + QStringLiteral(".txt");
}

QString send(const QString& monthAndDay, const QString& name)
{
    return QStringLiteral("send_") + monthAndDay + name + QStringLiteral(".txt");
}

QString notes(const QString& name)
{
    return QStringLiteral("notes_") + name + QStringLiteral(".txt");
}

bool isSend(const QString& fileName, const QString& name)
{
    const QString any = send(QStringLiteral("MMDD"), name);
    if (fileName.size() != any.size() || !fileName.startsWith(QLatin1String("send_")) || !fileName.endsWith(any.mid(9)))
        return false;
    const QStringView day = QStringView(fileName).mid(5, 4);
    return std::all_of(day.begin(), day.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString lock(const QString& name)
{
    return QStringLiteral(".desk-lock_") + name;
}

QString journal(const QString& name)
{
    return QStringLiteral(".desk-journal_") + name;
}

QString userLock(const QString& name)
{
    return lock(name) + u'.' + os::userTag();
}

QString userJournal(const QString& name)
{
    return journal(name) + u'.' + os::userTag();
}

QString nameCheck(const QString& name)
{
    return QStringLiteral(".desk-name_") + name;
}

} // namespace desk::recordfile
