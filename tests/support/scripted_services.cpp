#include "support/scripted_services.h"

#include <QDir>
#include <QFile>

namespace desk::testing {

QString ScriptedDialogs::inputBox(const QString& prompt)
{
    prompts << prompt;
    if (answers.empty())
        return QString();
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedDialogs::messageBox(const QString& text)
{
    messages << text;
}

float ScriptedRandom::next()
{
    ++draws;
    if (script.empty())
        return fallback;
    const float value = script.front();
    script.pop_front();
    return value;
}

WindowFixture::WindowFixture()
{
    QDir(root.path()).mkpath(QStringLiteral("c"));
    QDir(root.path()).mkpath(QStringLiteral("mnt"));
    replaceWindow();
}

void WindowFixture::replaceWindow()
{
    window = std::make_unique<MainWindow>(PlatformServices{dialogs, clock, random, hostPaths()});
}

HostPaths WindowFixture::hostPaths() const
{
    return HostPaths(driveC(), root.path() + QStringLiteral("/mnt"));
}

void WindowFixture::start(const QString& homeOrLan, const QString& name, const QString& initials,
                          const QString& assignment)
{
    dialogs.answers = {homeOrLan, name, initials, assignment};
    window->load();
}

QString WindowFixture::host(const QString& programPath) const
{
    return hostPaths().toHost(programPath);
}

QByteArray WindowFixture::bytes(const QString& programPath) const
{
    QFile file(host(programPath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace desk::testing
