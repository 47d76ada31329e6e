#include "support/scripted_services.h"

#include "runtime/run_time_error.h"

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

bool ScriptedDialogs::askYesNo(const QString& question)
{
    questions << question;
    if (yesNo.empty())
        return false;
    const bool yes = yesNo.front();
    yesNo.pop_front();
    return yes;
}

void ScriptedDialogs::beep()
{
    ++beeps;
    if (beepError)
        throw RunTimeError(beepError);
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

WindowFixture::WindowFixture(const FixtureOptions& options)
    : clockInUse_(options.clock ? options.clock : &clock)
    , randomInUse_(options.random ? options.random : &random)
{
    if (options.root.isEmpty())
        root_ = temporary_.emplace().path();
    else
        root_ = options.root;
    QDir(root_).mkpath(QStringLiteral("c"));
    QDir(root_).mkpath(QStringLiteral("mnt"));
    replaceWindow();
}

void WindowFixture::replaceWindow()
{
    window = std::make_unique<MainWindow>(
        PlatformServices{dialogs, *clockInUse_, *randomInUse_, hostPaths()});
}

HostPaths WindowFixture::hostPaths() const
{
    return HostPaths(driveC(), root_ + QStringLiteral("/mnt"));
}

void WindowFixture::setUp(const QString& homeOrLan, const QString& name, const QString& initials,
                          const QString& assignment)
{
    dialogs.answers = {homeOrLan, name, initials, assignment};
    window->setUpProgram();
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
