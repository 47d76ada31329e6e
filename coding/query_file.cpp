// Query file conversion: query.txt in the base directory becomes its coded form queri.txt.

#include "app/main_window.h"

namespace desk {

void MainWindow::codeFile()
{
    ProgramState& s = state_;
    const QString queryFile = hostPath(s.baseDir + QStringLiteral("\\query") + s.queryFileId + QStringLiteral(".txt"));
    const QString codedFile = hostPath(s.baseDir + QStringLiteral("\\queri") + s.queryFileId + QStringLiteral(".txt"));
    ChannelGuard guard(files_, {1, 2});

    files_.open(1, queryFile, FileMode::Input);
    s.codeNbr = Value::whole(qint32(files_.readLine(1).size()));
    files_.close(1);

    files_.open(1, queryFile, FileMode::Input);
    files_.open(2, codedFile, FileMode::Output);
    while (!files_.atEnd(1)) {
        const QString line = files_.readLine(1);
        const QString key = line.left(6).toLower();
        if (key == QLatin1String("assign"))
            files_.writeLine(2, line);
        else if (key == QLatin1String("query "))
            files_.writeLine(2, QStringLiteral("query") + code(line.mid(7), s.codeNbr));
        else
            files_.writeLine(2, code(line, s.codeNbr));
    }
    files_.close(2);
    files_.close(1);
}

} // namespace desk
