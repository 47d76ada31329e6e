#include "records/record_file_names.h"

#include "system/os_files.h"

#include <algorithm>

namespace desk {

namespace {

// Constant-initialised, so that names asked for while other files' globals are made are right.
constexpr QLatin1String masterPrefix("masterFile_");
constexpr QLatin1String sendPrefix("send_");
constexpr QLatin1String notesPrefix("notes_");

} // namespace

RecordFileNames::RecordFileNames(const QString& folder, const QString& studentName,
                                 const QString& monthAndDay)
    : folder_(folder)
    , name_(nameForFiles(studentName))
    , monthAndDay_(monthAndDay)
{
}

QString RecordFileNames::name(File file) const
{
    switch (file) {
    case Master: return masterPrefix + name_ + QStringLiteral(".txt");
    case Send: return sendPrefix + monthAndDay_ + name_ + QStringLiteral(".txt");
    case Notes: return notesPrefix + name_ + QStringLiteral(".txt");
    case Lock: return QStringLiteral(".desk-lock_") + name_;
    case Journal: return QStringLiteral(".desk-journal_") + name_;
    case UserLock: return name(Lock) + u'.' + os::userTag();
    case UserJournal: return name(Journal) + u'.' + os::userTag();
    case NameCheck: return QStringLiteral(".desk-name_") + name_;
    }
    return QString();
}

bool RecordFileNames::holds(const QString& fileName) const
{
    if (fileName == name(Master) || fileName == name(Notes))
        return true;
    // The send file of any day: the prefix, four digits, then the name.
    const QString tail = name_ + QStringLiteral(".txt");
    if (fileName.size() != sendPrefix.size() + 4 + tail.size() || !fileName.startsWith(sendPrefix)
        || !fileName.endsWith(tail))
        return false;
    const QStringView monthAndDay = QStringView(fileName).mid(sendPrefix.size(), 4);
    return std::all_of(monthAndDay.begin(), monthAndDay.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

std::optional<RecordFileNames::File> RecordFileNames::recordFileOf(const QString& fileName)
{
    if (fileName.startsWith(masterPrefix))
        return Master;
    if (fileName.startsWith(sendPrefix))
        return Send;
    if (fileName.startsWith(notesPrefix))
        return Notes;
    return std::nullopt;
}

QString RecordFileNames::nameForFiles(const QString& studentName)
{
    QString name = studentName;
    for (QChar& c : name) {
        bool unsafe = c == u' ' || c == u'/' || c == u'\\' || c.category() == QChar::Other_Control;
#ifdef Q_OS_WIN
        unsafe = unsafe || QStringLiteral("<>:\"|?*").contains(c);
#endif
        if (unsafe)
            c = u'_';
    }
    return name;
}

} // namespace desk
