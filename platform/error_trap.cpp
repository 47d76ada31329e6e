#include "platform/error_trap.h"

#include "platform/dialogs.h"

#include <QFileInfo>

namespace desk {

QString invalidAssignmentMessage()
{
    return QStringLiteral(
        "You have probably not entered a valid assignment number.  Make sure the assignment "
        "number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is "
        "supposed to be in the current drillkit.  This program will end and you will need to "
        "start over.  If you are sure you have entered a valid assignment number email the "
        "instructor and specify that you have received a 'subscript out of range' error");
}

QString generalErrorMessage(int number)
{
    return QStringLiteral(
               "You have encountered an error.  If you are encountering this error repeatedly you "
               "should report the error number to the instructor and explain exactly what you were "
               "doing, keystroke by keystroke, when the error occurred.  The error is:  ")
        + QString::number(number);
}

QString unencodableTextMessage(const QStringList& characters)
{
    return QStringLiteral("Nothing was recorded.  The record files cannot hold these characters: ")
        + characters.join(u' ')
        + QStringLiteral("\n\nPlease write them another way (for example \"alpha\" for the "
                         "Greek letter or \"->\" for an arrow) and record again.  Your text is "
                         "still in the box.");
}

QString partlyWrittenMessage(int number, const QStringList& files)
{
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    return generalErrorMessage(number) + QStringLiteral("\n\nA record could not be taken back out of ")
        + names.join(QStringLiteral(" and "))
        + (names.size() == 1 ? QStringLiteral(": that file may hold part of it.")
                             : QStringLiteral(": those files may hold part of it."));
}

QString trapMessage(const RunTimeError& error)
{
    if (auto* partly = dynamic_cast<const PartlyWrittenError*>(&error))
        return partlyWrittenMessage(partly->number(), partly->files());
    if (auto* unencodable = dynamic_cast<const UnencodableTextError*>(&error))
        return unencodableTextMessage(unencodable->characters());
    if (error.number() == err::SubscriptOutOfRange)
        return invalidAssignmentMessage();
    return generalErrorMessage(error.number());
}

void showTrapMessage(Dialogs& dialogs, const RunTimeError& error)
{
    dialogs.messageBox(trapMessage(error));
}

} // namespace desk
