// assignment-desk-check: tells an instructor whether each record file is whole and whose it is.
// It reads the files and changes none; it needs no display.

#include "records/record_reader.h"
#include "system/os_files.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

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

// Far beyond any student's record file; a larger file is not one, and is not read into memory.
constexpr qsizetype largestRecordFile = qsizetype(256) << 20;

// The whole file at `nativePath`, or why it cannot be read.
std::optional<QByteArray> readWhole(const QByteArray& nativePath, QString& why)
{
    const os::OpenedFile file = os::openRegularFile(nativePath, os::Access::Read);
    if (file.error != 0) {
        why = file.error == os::NotRegularFile
            ? QStringLiteral("not a plain file (a link, a folder, a pipe or a device)")
            : QString::fromLocal8Bit(std::strerror(file.error));
        return std::nullopt;
    }
    QByteArray bytes;
    const int error = os::readToEnd(file.fd, bytes, largestRecordFile + 1);
    os::closeFile(file.fd);
    if (error != 0)
        why = QString::fromLocal8Bit(std::strerror(error));
    else if (bytes.size() > largestRecordFile)
        why = QStringLiteral("larger than any record file");
    else
        return bytes;
    return std::nullopt;
}

Status check(const QByteArray& nativePath, QTextStream& out, QTextStream& err)
{
    const QString path = QFile::decodeName(nativePath);
    QString why;
    const std::optional<QByteArray> bytes = readWhole(nativePath, why);
    if (!bytes) {
        err << program << ": " << path << ": " << why << Qt::endl;
        return Trouble;
    }
    const RecordFileKind kind = recordFileKind(QFileInfo(path).fileName(), *bytes);
    const RecordReading reading = readRecordFile(*bytes, kind);
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
    std::vector<QByteArray> paths;
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
            paths.emplace_back(argv[i]);
        }
    }
    if (paths.empty()) {
        err << usage << Qt::endl;
        return Trouble;
    }
    Status status = AllWhole;
    for (const QByteArray& path : paths) {
        try {
            status = std::max(status, check(path, out, err));
        } catch (const std::bad_alloc&) {
            err << program << ": " << QFile::decodeName(path) << ": too large to read here"
                << Qt::endl;
            status = Trouble;
        }
    }
    // A verdict that could not be printed is no verdict.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        err << program << ": the verdicts could not be written" << Qt::endl;
        return Trouble;
    }
    return status;
}
