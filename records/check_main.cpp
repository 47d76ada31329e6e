// assignment-desk-check: tells an instructor whether each record file is whole and whose it is.
// It reads the files and changes none; it needs no display.

#include "records/record_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

using namespace desk;

// The worst outcome over all the files wins.
enum Status { AllWhole = 0, SomeNotWhole = 1, Trouble = 2 };

const QString program = QStringLiteral("assignment-desk-check");
const QString usage = QStringLiteral("usage: assignment-desk-check FILE...");

QString kindName(RecordFileKind kind)
{
    switch (kind) {
    case RecordFileKind::Master: return QStringLiteral("master file");
    case RecordFileKind::Send: return QStringLiteral("send file");
    case RecordFileKind::Notes: return QStringLiteral("notes file");
    }
    return QString();
}

QString runLine(const RecordRun& run)
{
    auto many = [](int n, const char* one, const char* more) {
        return QString::number(n) + u' ' + QLatin1String(n == 1 ? one : more);
    };
    const QString counts = many(run.count(RecordBlock::Response), "response", "responses")
        + QStringLiteral(", ") + many(run.count(RecordBlock::Note), "note", "notes");
    if (run.firstLine == 0)
        return counts;
    return QStringLiteral("%1, assignment %2, initials %3, %4 %5: %6")
        .arg(run.studentName, run.assignmentNumber, run.initials, run.date, run.time, counts);
}

Status check(const QString& path, QTextStream& out, QTextStream& err)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        err << program << ": " << path << ": " << file.errorString() << Qt::endl;
        return Trouble;
    }
    const RecordFileKind kind = recordFileKind(QFileInfo(path).fileName(), bytes);
    const RecordReading reading = readRecordFile(bytes, kind);
    out << path << " (" << kindName(kind) << ")\n";
    for (const RecordRun& run : reading.runs)
        out << "  " << runLine(run) << '\n';
    if (reading.whole())
        out << "  whole\n";
    else
        out << "  not whole: line " << reading.problem->line << ": " << reading.problem->what
            << '\n';
    // Before any message on stderr about the next file.
    out.flush();
    return reading.whole() ? AllWhole : SomeNotWhole;
}

} // namespace

int main(int argc, char* argv[])
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList paths;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QFile::decodeName(argv[i]);
        if (!optionsEnded && argument == QStringLiteral("--help")) {
            out << usage << Qt::endl;
            return AllWhole;
        }
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.startsWith(u'-')) {
            err << program << ": unknown option " << argument << '\n' << usage << Qt::endl;
            return Trouble;
        } else {
            paths << argument;
        }
    }
    if (paths.isEmpty()) {
        err << usage << Qt::endl;
        return Trouble;
    }
    Status status = AllWhole;
    for (const QString& path : paths)
        status = std::max(status, check(path, out, err));
    return status;
}
