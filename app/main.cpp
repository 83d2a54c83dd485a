#include <QApplication>
#include <QDir>
#include <QIcon>

#include "app/main_window.h"
#include "app/start_up.h"
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
    // Lets the desktop match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vokta.Vokta"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vokta.svg")));

    const QStringList candidates = vokta::modelDirectoryCandidates(QCoreApplication::applicationDirPath());
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

    vokta::MainWindow window(modelDirectory.toStdString());
    if (!window.StartGame(vokta::chooseSeed()))
        return kNoOpenGl;
    return QApplication::exec();
}
