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
#include "app/task_code_dialogs.h"
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
// Candidates a task maker tries between looks at whether it is done.
constexpr std::uint32_t kCandidatesAtOnce = 100;
// Never more of the screen than this, so the frame and the panel stay in view.
constexpr double kLargestScreenShare = 0.8;
constexpr unsigned long kFanfarePauseMs = 2000;
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

MainWindow::MainWindow(std::string modelDirectory, SettingsStore store)
    : modelDirectory_(std::move(modelDirectory)),
      store_(std::move(store)),
      shell_(modelDirectory_,
             QFile::encodeName(QDir(QFile::decodeName(modelDirectory_.c_str())).filePath(QStringLiteral("tasks")))
                 .toStdString(),
             soundRelay_, *this, store_)
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
    connect(timer_, &QTimer::timeout, this, [this] { shell_.tick(); });

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
    spoken_.reset();
    delete viewContainer_;
}

bool MainWindow::ShowStartDialog()
{
    StartDialog dialog([this](QWidget* shown) { help_.showContents(shown, language()); });
    return dialog.choose() == StartChoice::Start;
}

bool MainWindow::StartGame(unsigned seed)
{
    seed_ = seed;
    view_ = new GameView(shell_.game().scene(), *this);
    viewContainer_ = QWidget::createWindowContainer(view_, this);
    viewContainer_->setFocusPolicy(Qt::StrongFocus);
    spoken_ = std::make_unique<SpokenView>(*viewContainer_);
    spoken_->setName(QString::fromStdString(std::string(viewName(language()))));
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
    shell_.start(seed);
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

void MainWindow::InstallTranslators()
{
    // Qt's own dialogs (the file dialog, the message boxes' buttons) and the
    // file dialog's filters speak the interface's language too.
    QCoreApplication::removeTranslator(&gameTranslator_);
    QCoreApplication::removeTranslator(&qtTranslator_);
    if (language() != Language::Russian)
        return;
    if (gameTranslator_.isEmpty())
        static_cast<void>(gameTranslator_.load(QStringLiteral(":/i18n/vokta_ru.qm")));
    if (qtTranslator_.isEmpty())
        static_cast<void>(
            qtTranslator_.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&qtTranslator_);
    QCoreApplication::installTranslator(&gameTranslator_);
}

void MainWindow::ApplyLanguage(const QString& name)
{
    if (!menus_) {
        // The menu bar is made with the first language applied, once the
        // view has taken the window's size. It keeps the application's own
        // colours, not the window's green.
        menuBar()->setPalette(QGuiApplication::palette());
        menus_ = new GameMenus(*menuBar(), [this](Command command, bool help) { OnMenuCommand(command, help); });
        menusChanged();
        // A popup closed, or the menu bar let go of the keys: the game view
        // may take the keyboard back.
        for (QMenu* popup : menuBar()->findChildren<QMenu*>())
            connect(popup, &QMenu::aboutToHide, this, &MainWindow::ReturnKeyboardToView, Qt::QueuedConnection);
        menuBar()->installEventFilter(this);
    }
    shell_.setLanguage(name.toStdString());
    InstallTranslators();
}

void MainWindow::OnMenuCommand(Command command, bool help)
{
    if (help)
        shell_.askHelp(command);
    else
        shell_.choose(command);
}

void MainWindow::keyDown(const KeyStroke& stroke)
{
    if (replaying()) {
        if (stroke.key == Key::Escape)
            StopReplay();
        return;
    }
    shell_.keyDown(stroke);
}

void MainWindow::keyUp(const KeyStroke& stroke)
{
    // The Escape that stopped a replay never reached the shell, which lets
    // its release go by.
    if (!replaying())
        shell_.keyUp(stroke);
}

void MainWindow::keyboardLost()
{
    shell_.keyboardLost();
}

void MainWindow::mouse(const WindowMessage& message)
{
    if (!replaying())
        shell_.mouse(message);
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
    shell_.setLog([this](const WindowMessage& message) {
        recorder_->size(view_->width(), view_->height());
        recorder_->message(message);
    });
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
            action.kind == Kind::Load || action.kind == Kind::Daily || action.kind == Kind::Generate ||
            action.kind == Kind::Code || (action.kind == Kind::Setup && i == 0);
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
    shell_.setCountingProgress(false);
    replayTimer_->start();
}

void MainWindow::ReplayTick()
{
    // Actions run until the next tick, which this call delivers.
    while (replaying()) {
        if (replayTicksLeft_ > 0) {
            --replayTicksLeft_;
            shell_.tick();
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
        case play::Action::Kind::Load: shell_.fileChosen(Command::Load, ChosenFile{action.text}); break;
        case play::Action::Kind::Daily:
        case play::Action::Kind::Generate: shell_.loadMadeTask(action.request); break;
        case play::Action::Kind::Code: shell_.openTaskCode(action.text); break;
        default:
            for (const WindowMessage& message : play::inputMessages(action)) {
                if (message.kind == WindowMessage::Kind::Command)
                    shell_.choose(message.command);
                else
                    shell_.route(message);
            }
            break;
        }
    }
}

void MainWindow::StopReplay()
{
    replay_.clear();
    replayTimer_->stop();
    menuBar()->setEnabled(true);
    shell_.setCountingProgress(true);
    timer_->start();
}

void MainWindow::LoadTaskFile(const QString& path)
{
    // A recording replays from any folder.
    shell_.fileChosen(Command::Load, ChosenFile{QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString()});
}

void MainWindow::OpenTaskLink(const QString& link)
{
    shell_.openTaskCode(link.toStdString());
}

void MainWindow::menusChanged()
{
    if (menus_)
        menus_->show(shell_.menuBar());
}

void MainWindow::showNotice(const Notice& notice)
{
    if (replaying()) {
        // A replay stops for no box: a refused file is said on the console,
        // a hint's words are left to the ghost.
        if (notice.topic == Notice::Topic::TaskFile || notice.topic == Notice::Topic::Library ||
            notice.topic == Notice::Topic::TaskCode)
            std::fprintf(stderr, "vokta: %s\n", notice.text.c_str());
        if (notice.topic != Notice::Topic::Success)
            return;
    }
    if (notice.topic == Notice::Topic::Success || notice.topic == Notice::Topic::KeptGame) {
        // Shown once the tick, or the start, has returned: a box opened
        // inside would hold the timer, and the pieces must keep falling
        // while it is up.
        QTimer::singleShot(0, this, [this, notice] {
            std::unique_ptr<QMessageBox> box = messageBox(notice, this);
            box->setWindowFlag(Qt::WindowStaysOnTopHint);
            box->exec();
        });
        return;
    }
    messageBox(notice, this)->exec();
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

void MainWindow::showHelp(Command topic)
{
    // A replay opens no window; it only changes what it shows.
    if (!replaying())
        help_.showTopic(this, language(), topic);
}

void MainWindow::showHelpPopup(Command, std::string_view html)
{
    help_.showPopup(this, html);
}

void MainWindow::showAbout()
{
    if (replaying())
        return;
    AboutDialog about(this, language());
    about.exec();
}

QString MainWindow::libraryFolder() const
{
    return QFile::decodeName(shell_.libraryFolder().c_str());
}

void MainWindow::pickTaskFile(Command command)
{
    const bool forSaving = command == Command::Save;
    if (replaying()) {
        shell_.fileChosen(command, std::nullopt);
        return;
    }
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        shell_.fileChosen(command, std::nullopt);
        return;
    }
    const QString chosen = dialog.selectedFiles().front();
    const QString chosenFolder = QFileInfo(chosen).absolutePath();
    if (chosenFolder != QFileInfo(libraryFolder()).absoluteFilePath())
        taskFolder_ = chosenFolder;
    shell_.fileChosen(command, ChosenFile{QFile::encodeName(chosen).toStdString()});
}

void MainWindow::pickLibraryTask(const std::vector<LibraryEntry>& tasks)
{
    if (replaying()) {
        shell_.fileChosen(Command::Library, std::nullopt);
        return;
    }
    LibraryDialog library(this, tasks, modelDirectory_, libraryCaption(language()),
                          shell_.game().view().palette().background);
    library.exec();
    const std::optional<std::size_t> chosen = library.chosen();
    shell_.fileChosen(Command::Library,
                      chosen ? std::optional<ChosenFile>(ChosenFile{tasks[*chosen].file}) : std::nullopt);
}

void MainWindow::pickDifficulty()
{
    if (replaying()) {
        shell_.difficultyChosen(std::nullopt);
        return;
    }
    RandomTaskDialog dialog(this, language());
    shell_.difficultyChosen(dialog.choose());
}

void MainWindow::makeTask(std::shared_ptr<TaskOrder> order)
{
    // A task can take longer to make than a tick lasts: it is made on a
    // thread of its own, and handed to the game on the game's thread.
    QThread* maker = QThread::create([order] {
        while (!order->work(kCandidatesAtOnce)) {}
    });
    connect(maker, &QThread::finished, this, [this, maker, order] {
        // None when the window gave it up as it closed.
        if (std::erase(makers_, maker) == 0)
            return;
        maker->deleteLater();
        shell_.taskMade(*order);
    });
    makers_.push_back(maker);
    maker->start();
}

void MainWindow::optionChanged(Stored option)
{
    if (option != Stored::Language)
        return;
    InstallTranslators();
    if (spoken_)
        spoken_->setName(QString::fromStdString(std::string(viewName(language()))));
}

void MainWindow::showTaskCode(std::string_view code)
{
    if (replaying())
        return;
    ShareTaskDialog dialog(this, QString::fromStdString(std::string(code)), language());
    dialog.exec();
}

void MainWindow::askTaskCode()
{
    // A replay's Open task code... is cancelled; the task it opened follows as its code.
    if (replaying())
        return;
    OpenTaskCodeDialog dialog(this, language());
    if (dialog.exec() == QDialog::Accepted)
        shell_.openTaskCode(dialog.text().toStdString());
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

void MainWindow::announce(const Spoken& spoken)
{
    if (spoken_)
        spoken_->say(QString::fromStdString(spoken.text()));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    shell_.keepGame();
    OnDestroy();
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::RenderWhenIdle()
{
    shell_.renderWhenIdle([this](float) { view_->drawFrame(); });
}

void MainWindow::OnDestroy()
{
    disconnect(idleHook_);
    timer_->stop();
    replayTimer_->stop();
    // A task still being made is no longer wanted.
    for (QThread* maker : makers_) {
        maker->disconnect(this);
        maker->wait();
        delete maker;
    }
    makers_.clear();
    if (view_)
        view_->renderer().teardown();
}

}  // namespace vokta
