// Query file conversion: query.txt in the base directory becomes its coded form queri.txt.

#include "app/main_window.h"

#include "records/channels.h"

namespace desk {

// No command reaches this; kept on purpose as a complete operation of the window: it turns
// query.txt in the base directory into queri.txt.
void MainWindow::codeFile()
{
    ProgramState& s = state_;
    const QString queryFile =
        hostPath(s.baseDir + QStringLiteral("\\query") + s.queryFileId + QStringLiteral(".txt"));
    const QString codedFile =
        hostPath(s.baseDir + QStringLiteral("\\queri") + s.queryFileId + QStringLiteral(".txt"));
    ChannelGuard guard(files_, {channel::query, channel::coded});

    // The query file is read twice: its first line's length is the coding number of the
    // conversion (it replaces the run's), then the whole file is converted from the start.
    files_.open(channel::query, queryFile, FileMode::Input);
    s.codeNbr = Value::whole(qint32(files_.readLine(channel::query).size()));
    files_.close(channel::query);

    files_.open(channel::query, queryFile, FileMode::Input);
    files_.open(channel::coded, codedFile, FileMode::Output);
    while (!files_.atEnd(channel::query)) {
        const QString line = files_.readLine(channel::query);
        const QString key = line.left(6).toLower();
        if (key == QLatin1String("assign"))
            files_.writeLine(channel::coded, line);
        else if (key == QLatin1String("query "))
            files_.writeLine(channel::coded,
                             QStringLiteral("query") + code(line.mid(7), s.codeNbr));
        else
            files_.writeLine(channel::coded, code(line, s.codeNbr));
    }
    files_.close(channel::coded);
    files_.close(channel::query);
}

} // namespace desk
