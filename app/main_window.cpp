#include "app/main_window.h"

#include <cstdio>

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "app/game_view.h"
#include "app/start_up.h"
#include "music/system_sound.h"
#include "puzzle/game_tick.h"
#include "puzzle/routing.h"
#include "puzzle/scene_setup.h"

namespace vokta {

namespace {

constexpr QSize kDefaultSize{1024, 768};
// Never more of the screen than this, so the frame and the panel stay in view.
constexpr double kLargestScreenShare = 0.8;
constexpr unsigned long kFanfarePauseMs = 2000;
// The window's own colour, seen before the first frame and around the view.
constexpr QColor kWindowColour{0, 127, 0};

}  // namespace

MainWindow::MainWindow(std::string modelDirectory) : modelDirectory_(std::move(modelDirectory))
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

bool MainWindow::StartGame(unsigned seed)
{
    game_ = std::make_unique<Game>(modelDirectory_, soundRelay_, *this);
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
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Success"),
                        QStringLiteral("Task completed.\nCongratulations!"), QMessageBox::Ok, this);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    });
}

void MainWindow::refreshMenuState()
{
    // There is no menu bar yet, so there is nothing to bring in line.
}

void MainWindow::showTaskFileError(const TaskFileError& error)
{
    const Notice notice = describeTaskFileError(error);
    const QMessageBox::Icon icon = notice.icon == Notice::Icon::Warning ? QMessageBox::Warning
        : notice.icon == Notice::Icon::Error                            ? QMessageBox::Critical
                                                                        : QMessageBox::NoIcon;
    QMessageBox box(icon, QString::fromStdString(notice.caption), QString::fromStdString(notice.text), QMessageBox::Ok,
                    this);
    box.exec();
}

std::optional<std::string> MainWindow::chooseTaskFile(bool forSaving)
{
    QFileDialog dialog(this);
    dialog.setNameFilters({QStringLiteral("Task files (*.tsk)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("tsk"));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

std::optional<std::string> MainWindow::chooseTaskFileToLoad()
{
    return chooseTaskFile(false);
}

std::optional<std::string> MainWindow::chooseTaskFileToSave()
{
    return chooseTaskFile(true);
}

void MainWindow::runShellCommand(int)
{
    // No menu sends these yet: the window has no menu bar.
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
