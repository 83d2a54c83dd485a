#include "app/main_window.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include "app/dialogs.h"
#include "app/game_view.h"
#include "app/library.h"
#include "app/start_up.h"
#include "music/system_sound.h"
#include "play/runner.h"
#include "puzzle/controller/commands.h"
#include "puzzle/controller/game_tick.h"
#include "puzzle/controller/routing.h"
#include "puzzle/controller/scene_setup.h"
#include "shell/messages.h"

namespace vokta {

namespace {

constexpr QSize kDefaultSize{1024, 768};
// Never more of the screen than this, so the frame and the panel stay in view.
constexpr double kLargestScreenShare = 0.8;
constexpr unsigned long kFanfarePauseMs = 2000;
constexpr qint64 kLargestProgressFile = 1 << 20;
// The window's own colour, seen before the first frame, around the view and
// behind the menu bar's black texts; it stays in either palette, so that they
// keep standing out.
constexpr QColor kWindowColour{0, 127, 0};

// A message box with the words of notice.
std::unique_ptr<QMessageBox> messageBox(const Notice& notice, QWidget* parent)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (notice.icon) {
    case Notice::Icon::None: break;
    case Notice::Icon::Information: icon = QMessageBox::Information; break;
    case Notice::Icon::Warning: icon = QMessageBox::Warning; break;
    case Notice::Icon::Error: icon = QMessageBox::Critical; break;
    }
    return std::make_unique<QMessageBox>(icon, QString::fromStdString(notice.caption),
                                         QString::fromStdString(notice.text), QMessageBox::Ok, parent);
}

}  // namespace

MainWindow::MainWindow(std::string modelDirectory, LanguageSetting setting)
    : modelDirectory_(std::move(modelDirectory)), setting_(std::move(setting))
{
    setProgressFile(defaultProgressFile());
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
    connect(timer_, &QTimer::timeout, this, [this] { Deliver({.kind = WindowMessage::Kind::Timer}); });

    replayTimer_ = new QTimer(this);
    replayTimer_->setTimerType(Qt::PreciseTimer);
    replayTimer_->setInterval(kTickMs);
    connect(replayTimer_, &QTimer::timeout, this, &MainWindow::ReplayTick);
}

MainWindow::~MainWindow()
{
    OnDestroy();
    recorder_.reset();
    if (recordFile_)
        std::fclose(recordFile_);
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
    seed_ = seed;
    game_ = std::make_unique<Game>(modelDirectory_, soundRelay_, *this);
    setDisplayOptions(readDisplayOptions(setting_.filePath()));
    view_ = new GameView(*game_);
    view_->setRouter([this](const WindowMessage& message) { Route(message); });
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
    // Whatever took the keyboard (a menu, a dialog, a message box, the help,
    // a file dialog), the game view takes it back once that has closed.
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::ReturnKeyboardToView, Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainWindow::ReturnKeyboardToView, Qt::QueuedConnection);
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

QString MainWindow::defaultProgressFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("progress.txt"));
}

void MainWindow::setProgressFile(const QString& path)
{
    progressFile_ = path;
    progress_ = {};
    QFile file(path);
    // A missing or unreadable file is no progress; an oversized one is no
    // progress file of ours.
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestProgressFile)
        return;
    progress_ = Progress::parse(file.readAll().toStdString());
}

void MainWindow::RecordCompletion()
{
    const TaskRun& run = game_->run;
    // A free build is never reported complete; a key of 0 is none.
    if (run.key == 0)
        return;
    const std::int64_t ms = (game_->tickCount - run.startTick) * kTickMs;
    if (!progress_.recordCompletion(run.key, run.moves, ms))
        return;
    QDir().mkpath(QFileInfo(progressFile_).absolutePath());
    QSaveFile file(progressFile_);
    const std::string text = progress_.text();
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit())
        std::fprintf(stderr, "vokta: %s: progress not saved: %s\n", QFile::encodeName(progressFile_).constData(),
                     file.errorString().toLocal8Bit().constData());
}

void MainWindow::ReturnKeyboardToView()
{
    if (!view_ || QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return;
    if (QGuiApplication::focusWindow() != windowHandle())
        return;
    QMenuBar* bar = menuBar();
    if (QApplication::focusWidget() == bar && bar->activeAction()) {
        // The menu bar keeps the keyboard while the player walks the menus
        // with the keys. Escape from a popup opened with the mouse leaves
        // its title lit, but nothing for the keys to do.
        if (!menuOpenedByMouse_)
            return;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &escape);
    }
    menuOpenedByMouse_ = false;
    viewContainer_->setFocus();
    view_->requestActivate();
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
    RecordCompletion();
    // Shown once the tick has returned: a box opened inside the tick would
    // hold the timer, and the pieces must keep falling while it is up.
    QTimer::singleShot(0, this, [this] {
        std::unique_ptr<QMessageBox> box = messageBox(successNotice(language_), this);
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
        box->exec();
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
        menus_ = new GameMenus(*menuBar(), [this](Command command) { OnMenuCommand(command); });
        // A popup closed, or the menu bar let go of the keys: the game view
        // may take the keyboard back.
        for (QMenu* popup : menuBar()->findChildren<QMenu*>())
            connect(popup, &QMenu::aboutToHide, this, &MainWindow::ReturnKeyboardToView, Qt::QueuedConnection);
        menuBar()->installEventFilter(this);
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

void MainWindow::OnMenuCommand(Command command)
{
    if (menus_->helpRequested) {
        menus_->helpRequested = false;
        help_.showCommandHelp(this, language_, command);
        // Qt has already toggled a checkable item; the command did not run.
        refreshMenuState();
        return;
    }
    if (game_)
        Route({.kind = WindowMessage::Kind::Command, .command = command});
}

void MainWindow::Route(const WindowMessage& message)
{
    using Kind = WindowMessage::Kind;
    if (replaying()) {
        if (message.kind == Kind::KeyDown && message.key == Key::Escape) {
            StopReplay();
            swallowEscapeRelease_ = true;
        }
        return;
    }
    if (swallowEscapeRelease_ && message.kind == Kind::KeyUp && message.key == Key::Escape) {
        swallowEscapeRelease_ = false;
        return;
    }
    Deliver(message);
}

void MainWindow::Deliver(const WindowMessage& message)
{
    const bool mayLoad = message.kind == WindowMessage::Kind::Command &&
        (message.command == Command::Load || message.command == Command::Library);
    if (recorder_) {
        recorder_->size(view_->width(), view_->height());
        recorder_->message(message);
    }
    dialogLoaded_.reset();
    MainWndProc(*game_, message);
    if (recorder_ && mayLoad)
        recorder_->dialogEnded(message.command, dialogLoaded_);
}

bool MainWindow::StartRecording(const QString& path, QString& error)
{
    recordFile_ = std::fopen(QFile::encodeName(path).constData(), "w");
    if (!recordFile_) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    recorder_ = std::make_unique<play::Recorder>(recordFile_);
    recorder_->setup(seed_);
    recorder_->size(view_->width(), view_->height());
    // A crash keeps what happened until a second before.
    auto* flush = new QTimer(this);
    connect(flush, &QTimer::timeout, this, [this] { recorder_->flush(); });
    flush->start(1000);
    return true;
}

QString MainWindow::unreplayable(const play::Script& script)
{
    using Kind = play::Action::Kind;
    for (std::size_t i = 0; i < script.actions.size(); ++i) {
        const play::Action& action = script.actions[i];
        const bool input = !play::inputMessages(action).empty();
        const bool allowed = input || action.kind == Kind::Tick || action.kind == Kind::Size ||
            action.kind == Kind::Load || (action.kind == Kind::Setup && i == 0);
        if (!allowed)
            return QStringLiteral(
                       "line %1 is no player's input and cannot be replayed in the window; vokta-play can play it")
                .arg(action.line);
    }
    return {};
}

void MainWindow::StartReplay(std::vector<play::Action> actions)
{
    if (!actions.empty() && actions.front().kind == play::Action::Kind::Setup)
        actions.erase(actions.begin());
    if (actions.empty())
        return;
    replay_ = std::move(actions);
    replayNext_ = 0;
    replayTicksLeft_ = 0;
    timer_->stop();
    menuBar()->setEnabled(false);
    replayTimer_->start();
}

void MainWindow::ReplayTick()
{
    // Actions run until the next tick, which this call delivers.
    while (replaying()) {
        if (replayTicksLeft_ > 0) {
            --replayTicksLeft_;
            MainWndProc(*game_, {.kind = WindowMessage::Kind::Timer});
            return;
        }
        if (replayNext_ == replay_.size()) {
            StopReplay();
            return;
        }
        const play::Action& action = replay_[replayNext_++];
        switch (action.kind) {
        case play::Action::Kind::Tick: replayTicksLeft_ = action.number; break;
        case play::Action::Kind::Size: resize(size() + QSize(action.x, action.y) - view_->size()); break;
        case play::Action::Kind::Load: loadTaskAsStep(*game_, action.text); break;
        default:
            for (const WindowMessage& message : play::inputMessages(action))
                MainWndProc(*game_, message);
            break;
        }
    }
}

void MainWindow::StopReplay()
{
    replay_.clear();
    replayTimer_->stop();
    menuBar()->setEnabled(true);
    timer_->start();
}

void MainWindow::LoadTaskFile(const QString& path)
{
    const std::string file = QFile::encodeName(path).toStdString();
    // A recording replays from any folder.
    if (recorder_)
        recorder_->dialogEnded(Command::Load, QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString());
    loadTaskAsStep(*game_, file);
}

void MainWindow::refreshMenuState()
{
    if (!menus_)
        return;
    const DisplayOptions options = displayOptions();
    menus_->refresh(game_ && game_->state.selected >= 0,
                    game_ && game_->view.taskFigure && game_->view.taskFigure->solid(),
                    game_ && game_->history.canUndo(), game_ && game_->history.canRedo(), options.distinctColours,
                    options.pieceNumbers);
}

DisplayOptions MainWindow::displayOptions() const
{
    if (!game_)
        return {};
    const ViewOptions& view = game_->view.viewOptions();
    return {.distinctColours = view.palette == &kDistinctPalette, .pieceNumbers = view.pieceNumbers};
}

void MainWindow::setDisplayOptions(DisplayOptions options)
{
    game_->view.setViewOptions({.palette = options.distinctColours ? &kDistinctPalette : &kOriginalPalette,
                                .pieceNumbers = options.pieceNumbers});
}

void MainWindow::toggleDisplayOption(Command command)
{
    DisplayOptions options = displayOptions();
    if (command == Command::DistinctColours)
        options.distinctColours = !options.distinctColours;
    else
        options.pieceNumbers = !options.pieceNumbers;
    setDisplayOptions(options);
    writeDisplayOptions(setting_.filePath(), options);
    refreshMenuState();
}

void MainWindow::showTaskFileError(const TaskFileError& error)
{
    if (replaying()) {
        std::fprintf(stderr, "vokta: %s: %s\n", error.path.c_str(), taskFileProblem(error, language_).c_str());
        return;
    }
    messageBox(describeTaskFileError(error, language_), this)->exec();
}

QString MainWindow::libraryFolder() const
{
    return QDir(QFile::decodeName(modelDirectory_.c_str())).filePath(QStringLiteral("tasks"));
}

std::optional<std::string> MainWindow::chooseTaskFile(bool forSaving)
{
    if (replaying())
        return std::nullopt;
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
    dialogLoaded_ = chooseTaskFile(false);
    return dialogLoaded_;
}

std::optional<std::string> MainWindow::chooseTaskFileToSave()
{
    return chooseTaskFile(true);
}

void MainWindow::showHint(const Hint& hint)
{
    const std::optional<Notice> notice = hintNotice(hint, game_->view.palette(), language_);
    // The ghost says it; a replay does not stop for a box.
    if (!notice || replaying())
        return;
    messageBox(*notice, this)->exec();
}

void MainWindow::runShellCommand(Command command)
{
    // A replay opens no dialog and no help; it only changes what it shows.
    const bool opensAWindow = command != Command::English && command != Command::Russian &&
        command != Command::DistinctColours && command != Command::PieceNumbers;
    if (replaying() && opensAWindow)
        return;
    switch (static_cast<Command>(command)) {
    case Command::About: {
        AboutDialog about(this, language_);
        about.exec();
        break;
    }
    case Command::Library: {
        LibraryDialog library(this, libraryFolder(), modelDirectory_, language_, game_->view.palette().background,
                              progress_);
        if (library.list()->count() == 0) {
            QMessageBox box(
                QMessageBox::Warning, tr("Task library"),
                tr("The task library %1 is missing or empty.").arg(QDir::toNativeSeparators(libraryFolder())),
                QMessageBox::Ok, this);
            box.exec();
            break;
        }
        library.exec();
        if (const std::optional<QString> file = library.chosen()) {
            dialogLoaded_ = QFile::encodeName(*file).toStdString();
            loadTask(*game_, *dialogLoaded_);
        }
        break;
    }
    case Command::HelpIndex: help_.showContents(this, language_); break;
    case Command::KeyboardHelp:
    case Command::MouseHelp: help_.showContext(this, language_, static_cast<int>(command)); break;
    case Command::English: ApplyLanguage(QStringLiteral("English")); break;
    case Command::Russian: ApplyLanguage(QStringLiteral("Russian")); break;
    case Command::DistinctColours:
    case Command::PieceNumbers: toggleDisplayOption(command); break;
    default: break;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == menuBar()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: menuOpenedByMouse_ = true; break;
        case QEvent::Shortcut:
        case QEvent::KeyPress: menuOpenedByMouse_ = false; break;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
            QMetaObject::invokeMethod(this, &MainWindow::ReturnKeyboardToView, Qt::QueuedConnection);
            break;
        default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    OnDestroy();
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::RenderWhenIdle()
{
    vokta::RenderWhenIdle(*game_, [this](float) { view_->drawFrame(); });
}

void MainWindow::OnDestroy()
{
    disconnect(idleHook_);
    timer_->stop();
    replayTimer_->stop();
    if (view_)
        view_->renderer().teardown();
}

}  // namespace vokta
