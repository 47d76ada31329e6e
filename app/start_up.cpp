// Start-up: the Load handler, the four questions, the base directory and record-file names.

#include "app/main_window.h"

#include "app/error_policy.h"
#include "app/student_texts.h"
#include "records/record_file_names.h"
#include "runtime/numbers.h"
#include "runtime/windows1252.h"
#include "system/character_names.h"
#include "system/clock.h"
#include "system/os_files.h"
#include "system/random_source.h"
#include "widgets/dialogs.h"
#include "widgets/picture_box.h"
#include "widgets/text_box.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace desk {

namespace {

const QString localDataDirectory = QStringLiteral("c:\\lrnfiles");
const QString lanDirectory =
    QStringLiteral("i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1");

// "7" → "007", "12" → "012"; any other length stays as it is.
QString fillToThree(const QString& number)
{
    if (number.size() == 1)
        return QStringLiteral("00") + number;
    if (number.size() == 2)
        return u'0' + number;
    return number;
}

// The characters of a one-line answer that the record files cannot hold: those outside
// Windows-1252, and line breaks and other control characters (not the tab), which would break the
// header line. Invisible and look-alike characters are named by their code and name.
QString unheldCharactersMessage(const QString& answer, const QString& what)
{
    QStringList unheld = windows1252::unencodable(answer);
    for (QChar c : answer)
        if (c.category() == QChar::Other_Control && c != u'\t' && !unheld.contains(c))
            unheld << QString(c);
    if (unheld.isEmpty())
        return QString();
    QStringList described;
    for (const QString& c : unheld)
        described << (isInvisible(c) ? QString() : u'"' + c + QStringLiteral("\"  "))
                + characterCodeAndName(c);
    return texts::unheldCharacters(what, described);
}

} // namespace

void MainWindow::Form_Load()
{
    setUpProgram();
    openAssignment();
}

void MainWindow::setUpProgram()
{
    ProgramState& s = state_;
    services_.random.seed(services_.clock.secondsSinceMidnight());
    // Normally there from an earlier run; any failure shows up at the first file operation.
    os::makeFolder(hostPath(localDataDirectory));

    trapErrors(TrappedProcedure::setUpProgram, [&] {
        // Computed in double precision so that no draw below 1 can round up to 29.
        s.codeNbr = Value::single(float(std::floor(double(services_.random.next()) * 10.0 + 19.0)));

        Picture1->setScaleHeight(1000);
        Picture1->setScaleWidth(1000);
        Picture2->setScaleHeight(1000);
        Picture2->setScaleWidth(1000);

        const QString homeOrLan = services_.dialogs.inputBox(texts::homeOrLanPrompt);
        s.baseDir = readAsNumber(homeOrLan) == 2 ? lanDirectory : localDataDirectory;

        // Asked again until the record files can hold the answer, so that no header is ever
        // refused and no record made without one.
        s.studentName = askUntilHeld(texts::namePrompt, [this](const QString& name) {
            const QString problem = unheldCharactersMessage(name, QStringLiteral("full name"));
            return problem.isEmpty() ? fileNameProblem(name) : problem;
        });
        s.studentInitials = askUntilHeld(texts::initialsPrompt, [](const QString& initials) {
            return unheldCharactersMessage(initials, QStringLiteral("initials"));
        });

        // The clock is read for the month and again for the day: a start at midnight may take
        // them from two days.
        const QString month = services_.clock.date().left(2);
        const QString day = services_.clock.date().mid(3, 2);
        const RecordFileNames files(s.baseDir, s.studentName, month + day);
        s.masterFileName = files.path(RecordFileNames::Master);
        s.sendFileName = files.path(RecordFileNames::Send);
        s.notesFileName = files.path(RecordFileNames::Notes);

        s.assignmentNumber = services_.dialogs.inputBox(texts::assignmentPrompt);
        s.answerPrompt = texts::answerPrompt();
        // A student who clicks into the instructions and types must not record them too.
        txt_answer->setReplacedOnEntry(s.answerPrompt);
        s.questionTag = QStringLiteral(" <-<-<-<-  Q/A:   ");
        s.answerTag = QStringLiteral(" YOUR ANSWER  ->->->->  ");

        s.assignmentNumber = fillToThree(s.assignmentNumber);
        s.nextAssignmentNumber = fillToThree(decimalText(leadingNumber(s.assignmentNumber) + 1));

        s.bankIndex = Value::whole(0);
        loadQuestionBank();
    });
}

QString MainWindow::askUntilHeld(const QString& prompt,
                                 const std::function<QString(const QString&)>& problem)
{
    for (;;) {
        const QString answer = services_.dialogs.inputBox(prompt);
        const QString message = problem(answer);
        if (message.isEmpty())
            return answer;
        services_.dialogs.messageBox(message);
    }
}

QString MainWindow::fileNameProblem(const QString& name) const
{
    const QString part = RecordFileNames::nameForFiles(name);
    const RecordFileNames files(state_.baseDir, name);
    const QString longest = hostPath(files.path(RecordFileNames::Longest));
    const long limit = os::maxNameBytes(longest);
    if (QFile::encodeName(QFileInfo(longest).fileName()).size() > limit) {
        long bytes =
            long(RecordFileNames(state_.baseDir, QString()).name(RecordFileNames::Longest).size());
        qsizetype fit = 0;
        while (fit < part.size()
               && (bytes += long(QFile::encodeName(part.mid(fit, 1)).size())) <= limit)
            ++fit;
        return texts::nameTooLong(fit, name.size());
    }
    // The file system may refuse characters that the record files hold (":" or "?" on a network
    // share); tried on a file of its own, which carries the name like the record files.
    if (os::nameRefused(hostPath(files.path(RecordFileNames::NameCheck))))
        return texts::nameRefusedByFolder();
    return QString();
}

} // namespace desk
