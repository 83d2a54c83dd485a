#include "app/main_window.h"

#include <cstdio>

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include "app/dialogs.h"
#include "app/game_view.h"
#include "app/library.h"
#include "app/start_up.h"
#include "music/system_sound.h"
#include "puzzle/commands.h"
#include "puzzle/game_tick.h"
#include "puzzle/routing.h"
#include "puzzle/scene_setup.h"

namespace vokta {

namespace {

constexpr QSize kDefaultSize{1024, 768};
// Never more of the screen than this, so the frame and the panel stay in view.
constexpr double kLargestScreenShare = 0.8;
constexpr unsigned long kFanfarePauseMs = 2000;
// The window's own colour, seen before the first frame, around the view and
// behind the menu bar's black texts; it stays in either palette, so that they
// keep standing out.
constexpr QColor kWindowColour{0, 127, 0};

}  // namespace

MainWindow::MainWindow(std::string modelDirectory, LanguageSetting setting)
    : modelDirectory_(std::move(modelDirectory)), setting_(std::move(setting))
{
    setWindowTitle(QStringLiteral("Vokta"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kWindowColour);
    setPalette(colours);
    setAutoFillBackground(true);

    QSize size = kDefaultSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableSize() * kLargestScreenShare;
        size = size.boundedTo(room);
    }
    resize(size);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("gameTimer"));
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, [this] { MainWndProc(*game_, {.kind = WindowMessage::Kind::Timer}); });
}

MainWindow::~MainWindow()
{
    OnDestroy();
    // The view reads the game; it goes first.
    delete viewContainer_;
}

bool MainWindow::ShowStartDialog()
{
    StartDialog dialog([this](QWidget* shown) { help_.showContents(shown, language_); });
    return dialog.choose() == StartChoice::Start;
}

bool MainWindow::StartGame(unsigned seed)
{
    game_ = std::make_unique<Game>(modelDirectory_, soundRelay_, *this);
    setDisplayOptions(readDisplayOptions(setting_.filePath()));
    view_ = new GameView(*game_);
    viewContainer_ = QWidget::createWindowContainer(view_, this);
    viewContainer_->setFocusPolicy(Qt::StrongFocus);
    setCentralWidget(viewContainer_);
    show();
    activateWindow();
    viewContainer_->setFocus();

    if (!view_->renderer().create(*view_)) {
        const std::string why = view_->renderer().error();
        std::fprintf(stderr, "vokta: %s\n", why.c_str());
        hide();
        ReportFatalError(QStringLiteral("Error"), QStringLiteral("OpenGL 3.3 not found"));
        return false;
    }
    view_->OnSize();
    setUpScene(*game_, seed);
    timer_->start();
    // Opening the audio device takes as long as start-up may; the scene
    // comes first. Sounds are skipped until the soundfont has loaded anyway.
    connect(view_, &GameView::frameDrawn, this, &MainWindow::OpenSound,
            static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    idleHook_ = connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                        &MainWindow::RenderWhenIdle);
    return true;
}

void MainWindow::SoundRelay::play(Cue cue)
{
    emit window_.soundRequested(cue);
    if (device)
        device->play(cue);
}

void MainWindow::OpenSound()
{
    sound_ = std::make_unique<SystemSound>();
    soundRelay_.device = &sound_->output();
}

void MainWindow::repaintNow()
{
    view_->OnPaint();
}

void MainWindow::pauseForFanfare()
{
    // Nothing is handled while the fanfare plays; the sound runs on its own thread.
    QThread::msleep(kFanfarePauseMs);
}

void MainWindow::showSuccessMessage()
{
    // Shown once the tick has returned: a box opened inside the tick would
    // hold the timer, and the pieces must keep falling while it is up.
    QTimer::singleShot(0, this, [this] {
        QMessageBox box(QMessageBox::NoIcon, tr("Success"), tr("Task completed.\nCongratulations!"), QMessageBox::Ok,
                        this);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    });
}

void MainWindow::ApplyLanguage(const QString& name)
{
    language_ = name == QLatin1String("Russian") ? Language::Russian : Language::English;
    QCoreApplication::removeTranslator(&gameTranslator_);
    QCoreApplication::removeTranslator(&qtTranslator_);
    if (language_ == Language::Russian) {
        if (gameTranslator_.isEmpty())
            static_cast<void>(gameTranslator_.load(QStringLiteral(":/i18n/vokta_ru.qm")));
        if (qtTranslator_.isEmpty())
            static_cast<void>(
                qtTranslator_.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCoreApplication::installTranslator(&qtTranslator_);
        QCoreApplication::installTranslator(&gameTranslator_);
    }
    if (!menus_) {
        // The menus keep the application's own colours, not the window's green.
        menuBar()->setPalette(QGuiApplication::palette());
        menus_ = new GameMenus(*menuBar(), [this](int command) { OnMenuCommand(command); });
    }
    menus_->setLanguage(language_);
    setting_.write(name);
    refreshMenuState();
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && menus_)
        menus_->setLanguage(language_);
    QMainWindow::changeEvent(event);
}

void MainWindow::OnMenuCommand(int command)
{
    if (menus_->helpRequested) {
        menus_->helpRequested = false;
        help_.showCommandHelp(this, language_, command);
        // Qt has already toggled a checkable item; the command did not run.
        refreshMenuState();
        return;
    }
    if (game_)
        MainWndProc(*game_, {.kind = WindowMessage::Kind::Command, .command = command});
}

void MainWindow::refreshMenuState()
{
    if (!menus_)
        return;
    const DisplayOptions options = displayOptions();
    menus_->refresh(game_ && game_->selectedPiece, game_ && game_->taskFigure && game_->taskFigure->solid(),
                    options.distinctColours, options.pieceNumbers);
}

DisplayOptions MainWindow::displayOptions() const
{
    if (!game_)
        return {};
    return {.distinctColours = game_->palette == &kDistinctPalette, .pieceNumbers = game_->pieceNumbers};
}

void MainWindow::setDisplayOptions(DisplayOptions options)
{
    game_->palette = options.distinctColours ? &kDistinctPalette : &kOriginalPalette;
    game_->pieceNumbers = options.pieceNumbers;
}

void MainWindow::toggleDisplayOption(int command)
{
    DisplayOptions options = displayOptions();
    if (command == static_cast<int>(Command::DistinctColours))
        options.distinctColours = !options.distinctColours;
    else
        options.pieceNumbers = !options.pieceNumbers;
    setDisplayOptions(options);
    applyDisplayOptions(*game_);
    writeDisplayOptions(setting_.filePath(), options);
    refreshMenuState();
}

QString MainWindow::taskFileProblem(const TaskFileError& error)
{
    using Problem = TaskFileError::Problem;
    const QString number = QString::number(error.number);
    const QString limit = QString::number(error.limit);
    switch (error.problem) {
    case Problem::Version: return tr("version %1").arg(number);
    case Problem::System: return QString::fromLocal8Bit(error.systemMessage);
    case Problem::Folder: return tr("it is a folder, not a file");
    case Problem::Empty: return tr("it is empty");
    case Problem::HeaderCut: return tr("it ends within its header");
    case Problem::CellsCut:
        return tr("it holds %1 of the %2 bytes its %3 cells need").arg(number, limit, QString::number(error.count));
    case Problem::TooManyPieces: return tr("it asks for %1 pieces, and the game has %2").arg(number, limit);
    case Problem::TooManyCells: return tr("it has %1 cells, and a task has at most %2").arg(number, limit);
    case Problem::NotANumber: return tr("cell %1 has a coordinate that is no number").arg(number);
    case Problem::FarAway: return tr("cell %1 lies too far away, beyond %2 on an axis").arg(number, limit);
    case Problem::ReadOnly: return tr("the file is read-only");
    case Problem::FolderInTheWay: return tr("a folder of that name is in the way");
    }
    return {};
}

void MainWindow::showTaskFileError(const TaskFileError& error)
{
    const QString file = QDir::toNativeSeparators(QFile::decodeName(error.path.c_str()));
    const QString problem = taskFileProblem(error);
    QMessageBox::Icon icon = QMessageBox::Critical;
    QString caption;
    QString text;
    switch (error.kind) {
    case TaskFileError::Kind::NewerVersion: {
        // In English whatever the interface's language.
        const Notice notice = describeTaskFileError(error);
        icon = QMessageBox::Warning;
        caption = QString::fromStdString(notice.caption);
        text = QString::fromStdString(notice.text);
        break;
    }
    case TaskFileError::Kind::Unreadable:
        caption = tr("Load");
        text = tr("The task file %1 cannot be read: %2.").arg(file, problem);
        break;
    case TaskFileError::Kind::Damaged:
        caption = tr("Load");
        text = tr("The task file %1 is damaged: %2.").arg(file, problem);
        break;
    case TaskFileError::Kind::NotSaved:
        caption = tr("Save");
        text = tr("The task could not be saved as %1: %2.").arg(file, problem);
        break;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok, this);
    box.exec();
}

QString MainWindow::libraryFolder() const
{
    return QDir(QFile::decodeName(modelDirectory_.c_str())).filePath(QStringLiteral("tasks"));
}

std::optional<std::string> MainWindow::chooseTaskFile(bool forSaving)
{
    // The first Load opens in the library, the first Save in the player's
    // documents; after that both open where the player last chose a file of
    // their own.
    QString folder = taskFolder_;
    if (folder.isEmpty())
        folder = forSaving ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : libraryFolder();
    QFileDialog dialog(this);
    dialog.setDirectory(folder);
    dialog.setNameFilters({tr("Task files") + QStringLiteral(" (*.tsk)"), tr("All Files") + QStringLiteral(" (*)")});
    dialog.setDefaultSuffix(QStringLiteral("tsk"));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    const QString chosenFolder = QFileInfo(chosen).absolutePath();
    if (chosenFolder != QFileInfo(libraryFolder()).absoluteFilePath())
        taskFolder_ = chosenFolder;
    return QFile::encodeName(chosen).toStdString();
}

std::optional<std::string> MainWindow::chooseTaskFileToLoad()
{
    return chooseTaskFile(false);
}

std::optional<std::string> MainWindow::chooseTaskFileToSave()
{
    return chooseTaskFile(true);
}

void MainWindow::showHint(const Hint& hint)
{
    // The names the pieces go by: their colours, as the help lists them.
    static constexpr const char* kPieceNames[] = {
        QT_TRANSLATE_NOOP("vokta::MainWindow", "magenta"), QT_TRANSLATE_NOOP("vokta::MainWindow", "cyan"),
        QT_TRANSLATE_NOOP("vokta::MainWindow", "red"),     QT_TRANSLATE_NOOP("vokta::MainWindow", "yellow"),
        QT_TRANSLATE_NOOP("vokta::MainWindow", "green"),   QT_TRANSLATE_NOOP("vokta::MainWindow", "pink"),
        QT_TRANSLATE_NOOP("vokta::MainWindow", "blue"),
    };
    QString text;
    switch (hint.kind) {
    case Hint::Kind::Place: return;  // the ghost says it
    case Hint::Kind::TakeOut:
        text = hint.piece >= 0 ? tr("No solution keeps every piece where it is. Take out the %1 piece, which is "
                                    "selected now.")
                                     .arg(tr(kPieceNames[hint.piece]))
                               : tr("No solution keeps the pieces where they are: take some of them out.");
        break;
    case Hint::Kind::Unsolvable: text = tr("This task has no solution."); break;
    case Hint::Kind::Solved: text = tr("Every piece is in its place."); break;
    case Hint::Kind::NoTask: text = tr("There is no task to give a hint for: build freely, or load a task."); break;
    }
    QMessageBox box(QMessageBox::Information, tr("Hint"), text, QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::runShellCommand(int command)
{
    switch (static_cast<Command>(command)) {
    case Command::About: {
        AboutDialog about(this, language_);
        about.exec();
        break;
    }
    case Command::Library: {
        LibraryDialog library(this, libraryFolder(), modelDirectory_, language_, game_->palette->background);
        if (library.list()->count() == 0) {
            QMessageBox box(
                QMessageBox::Warning, tr("Task library"),
                tr("The task library %1 is missing or empty.").arg(QDir::toNativeSeparators(libraryFolder())),
                QMessageBox::Ok, this);
            box.exec();
            break;
        }
        library.exec();
        if (const std::optional<QString> file = library.chosen())
            loadTask(*game_, QFile::encodeName(*file).toStdString());
        break;
    }
    case Command::HelpIndex: help_.showContents(this, language_); break;
    case Command::KeyboardHelp:
    case Command::MouseHelp: help_.showContext(this, language_, command); break;
    case Command::English: ApplyLanguage(QStringLiteral("English")); break;
    case Command::Russian: ApplyLanguage(QStringLiteral("Russian")); break;
    case Command::DistinctColours:
    case Command::PieceNumbers: toggleDisplayOption(command); break;
    default: break;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    OnDestroy();
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::RenderWhenIdle()
{
    vokta::RenderWhenIdle(*game_, false, [this](float) { view_->drawFrame(); });
}

void MainWindow::OnDestroy()
{
    disconnect(idleHook_);
    timer_->stop();
    if (view_)
        view_->renderer().teardown();
}

}  // namespace vokta
