#include <filesystem>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QIcon>

#include "app/main_window.h"
#include "app/settings.h"
#include "app/start_up.h"
#include "platform/files.h"
#include "platform/program.h"
#include "play/runner.h"
#include "play/script.h"
#include "puzzle/scene/game_scene.h"
#include "puzzle/scene/model_check.h"

namespace {

QString nativeName(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

// Exit codes of a game that could not start.
constexpr int kNoModelFile = 2;
constexpr int kNoOpenGl = 1;
constexpr int kBadCommandLine = 3;

// The recording to replay, read and checked; an empty script and the
// problem, naming the file, when it cannot be replayed.
vokta::play::Script readReplay(const QString& path, QString& problem)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1: %2").arg(name, file.errorString());
        return {};
    }
    vokta::play::Script script = vokta::play::parseScript(file.readAll().toStdString());
    if (!script.error.empty()) {
        problem = QStringLiteral("%1:%2: %3").arg(name).arg(script.errorLine).arg(QString::fromStdString(script.error));
        return {};
    }
    if (const QString why = vokta::MainWindow::unreplayable(script); !why.isEmpty()) {
        problem = QStringLiteral("%1: %2").arg(name, why);
        return {};
    }
    return script;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vokta"));
    QApplication::setApplicationVersion(QStringLiteral(VOKTA_VERSION));
    // Lets the desktop match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vokta.Vokta"));
    QApplication::setWindowIcon(vokta::gameIcon());

    const QString executableDirectory = QCoreApplication::applicationDirPath();
    const std::vector<std::filesystem::path> candidates =
        vokta::modelDirectoryCandidates(vokta::programDirectory(argv[0]));
    const std::filesystem::path modelDirectory = vokta::findModelDirectory(candidates, vokta::kModelFileName);
    if (modelDirectory.empty()) {
        vokta::ReportFatalError(QStringLiteral("Vokta"),
                                QStringLiteral("The model file vokta.x is missing: it is in neither %1 nor %2.")
                                    .arg(nativeName(candidates.at(0)), nativeName(candidates.at(1))));
        return kNoModelFile;
    }
    const std::string modelError =
        vokta::verifyModelFile(vokta::utf8FromPath(modelDirectory / vokta::pathFromUtf8(vokta::kModelFileName)));
    if (!modelError.empty()) {
        vokta::ReportFatalError(QStringLiteral("Vokta"), QString::fromStdString(modelError));
        return kNoModelFile;
    }

    const vokta::CommandLine commandLine = vokta::parseCommandLine(QCoreApplication::arguments());
    if (!commandLine.problem.isEmpty()) {
        vokta::ReportFatalError(QStringLiteral("Vokta"), commandLine.problem);
        return kBadCommandLine;
    }
    vokta::play::Script replay;
    unsigned seed = 0;
    if (!commandLine.replayFile.isEmpty()) {
        QString problem;
        replay = readReplay(commandLine.replayFile, problem);
        if (!problem.isEmpty()) {
            vokta::ReportFatalError(QStringLiteral("Vokta"), problem);
            return kBadCommandLine;
        }
        // A recording starts with its seed; a script without one plays vokta-play's first scatter.
        const bool seeded = !replay.actions.empty() && replay.actions.front().kind == vokta::play::Action::Kind::Setup;
        seed = seeded ? replay.actions.front().number : vokta::play::kDefaultSeed;
    } else {
        seed = vokta::chooseSeed();
    }
    vokta::MainWindow window(vokta::utf8FromPath(modelDirectory),
                             vokta::SettingsStore(vokta::SettingsStore::settingsFileFor(executableDirectory),
                                                  vokta::SettingsStore::defaultProgressFile(),
                                                  vokta::SettingsStore::defaultGameFile()));
    // The player's own game is kept and continued; a replay is someone
    // else's, and a scatter asked for by its seed is a throwaway one.
    window.shell().setKeepingGame(replay.actions.empty() && !vokta::givenSeed());
    const QString language = QString::fromStdString(window.shell().options().languageName);

    // The start dialog shows in English: the saved language comes after it,
    // on every way out, and is written back.
    const bool started = vokta::startsAtOnce() || window.ShowStartDialog();
    if (started && !window.StartGame(seed)) {
        window.ApplyLanguage(language);
        return kNoOpenGl;
    }
    window.ApplyLanguage(language);
    if (!started)
        return 0;
    if (!commandLine.recordFile.isEmpty()) {
        QString why;
        if (!window.StartRecording(commandLine.recordFile, why)) {
            vokta::ReportFatalError(QStringLiteral("Vokta"),
                                    QStringLiteral("The game cannot be recorded to %1: %2.")
                                        .arg(QDir::toNativeSeparators(commandLine.recordFile), why));
            return kBadCommandLine;
        }
    }
    if (!commandLine.taskFile.isEmpty())
        window.LoadTaskFile(commandLine.taskFile);
    if (!commandLine.taskLink.isEmpty())
        window.OpenTaskLink(commandLine.taskLink);
    if (!replay.actions.empty())
        window.StartReplay(std::move(replay.actions));
    return QApplication::exec();
}
