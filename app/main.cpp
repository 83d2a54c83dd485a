#include <QApplication>
#include <QDir>
#include <QIcon>

#include "app/main_window.h"
#include "app/settings.h"
#include "app/start_up.h"
#include "puzzle/routing.h"
#include "puzzle/scene_setup.h"

namespace {

// Exit codes of a game that could not start.
constexpr int kNoModelFile = 2;
constexpr int kNoOpenGl = 1;

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
    const QStringList candidates = vokta::modelDirectoryCandidates(executableDirectory);
    const QString modelDirectory = vokta::findModelDirectory(candidates);
    if (modelDirectory.isEmpty()) {
        vokta::ReportFatalError(
            QStringLiteral("Vokta"),
            QStringLiteral("The model file vokta.x is missing: it is in neither %1 nor %2.")
                .arg(QDir::toNativeSeparators(candidates.at(0)), QDir::toNativeSeparators(candidates.at(1))));
        return kNoModelFile;
    }
    const std::string modelError =
        vokta::verifyModelFile(QDir(modelDirectory).filePath(QStringLiteral("vokta.x")).toStdString());
    if (!modelError.empty()) {
        vokta::ReportFatalError(QStringLiteral("Vokta"), QString::fromStdString(modelError));
        return kNoModelFile;
    }

    const QString taskFile = vokta::taskFileArgument(QCoreApplication::arguments());
    const vokta::LanguageSetting setting(vokta::LanguageSetting::filePathFor(executableDirectory));
    const QString language = setting.read();
    vokta::MainWindow window(modelDirectory.toStdString(), setting);

    // The start dialog shows in English: the saved language comes after it,
    // on every way out, and is written back.
    const bool started = vokta::startsAtOnce() || window.ShowStartDialog();
    if (started && !window.StartGame(vokta::chooseSeed())) {
        window.ApplyLanguage(language);
        return kNoOpenGl;
    }
    window.ApplyLanguage(language);
    if (!started)
        return 0;
    if (!taskFile.isEmpty())
        vokta::loadTask(*window.game(), QFile::encodeName(taskFile).toStdString());
    return QApplication::exec();
}
