// The shell around the game: the menus in both languages and what they keep
// in step, help on a menu item with F1, the start and About dialogs, and the
// file dialogs, in the real main window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWhatsThis>

#include "app/dialogs.h"
#include "app/game_view.h"
#include "app/library.h"
#include "app/main_window.h"
#include "puzzle/controller/commands.h"
#include "puzzle/rules/hint.h"
#include "puzzle/rules/palette.h"
#include "puzzle/rules/task_file.h"
#include "window_test_support.h"

namespace vokta::testing {
namespace {

struct MenuTexts {
    QString title;
    QStringList items;  // separators left out
};

// The menus as the shell's model says they are, in the words the window
// shows: the keys after a tab.
std::vector<MenuTexts> modelMenus(Language language)
{
    std::vector<MenuTexts> menus;
    for (const ShownMenu& menu : menuBar(language, {})) {
        MenuTexts texts{QString::fromStdString(menu.title), {}};
        for (const ShownItem& item : menu.items)
            texts.items << QString::fromStdString(item.keys.empty() ? item.text : item.text + '\t' + item.keys);
        menus.push_back(texts);
    }
    return menus;
}

std::vector<MenuTexts> shownMenus(QMenuBar& bar)
{
    std::vector<MenuTexts> shown;
    for (QAction* popup : bar.actions()) {
        MenuTexts menu{popup->text(), {}};
        for (QAction* item : popup->menu()->actions()) {
            if (!item->isSeparator())
                menu.items << item->text();
        }
        shown.push_back(menu);
    }
    return shown;
}

// The first visible top-level widget of type T, if any.
template <class T> T* shownWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(widget); found && found->isVisible())
            return found;
    }
    return nullptr;
}

bool whatsThisShown()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && QByteArray(widget->metaObject()->className()) == "QWhatsThat")
            return true;
    }
    return false;
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(testSettingsFile());
        window_ = std::make_unique<MainWindow>(VOKTA_RUNTIME_DIR, testStore());
        ASSERT_TRUE(window_->StartGame(kSeed));
        window_->ApplyLanguage(QStringLiteral("English"));
    }
    void TearDown() override { QFile::remove(testSettingsFile()); }

    // Opens the library, which comes up once today's task has been made on
    // a thread of its own, and hands the dialog to use while it is up; true
    // once it has been used and has closed.
    bool inTheLibrary(const std::function<void(LibraryDialog&)>& use)
    {
        bool used = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            LibraryDialog* library = shownWindow<LibraryDialog>();
            if (library && !used) {
                used = true;
                use(*library);
            }
        });
        poll.start(20);
        window_->OnMenuCommand(Command::Library);
        return runUntil([&] { return used && !shownWindow<LibraryDialog>(); }, 20000);
    }

    QString stored() const
    {
        return QSettings(testSettingsFile(), QSettings::IniFormat).value("OPTIONS/Language").toString();
    }
    QMenuBar& bar() { return *window_->menuBar(); }
    Game& game() { return *window_->game(); }

    // Opens popup, highlights the item of command and presses F1 on it.
    void pressF1On(int popup, Command command)
    {
        QMenu* menu = bar().actions().at(popup)->menu();
        menu->popup(window_->mapToGlobal(QPoint(10, 10)));
        ASSERT_TRUE(runUntil([&] { return menu->isVisible(); }, 5000));
        menu->setActiveAction(window_->menus()->action(command));
        QTest::keyClick(menu, Qt::Key_F1);
    }

    std::unique_ptr<MainWindow> window_;
};

// The window draws the model's menus, in either language, every letter in
// the menus' font.
TEST_F(Shell, TheMenusShowEveryTextOfTheirLanguage)
{
    const std::vector<MenuTexts> englishMenus = modelMenus(Language::English);
    const std::vector<MenuTexts> russianMenus = modelMenus(Language::Russian);
    const auto expectMenus = [&](const std::vector<MenuTexts>& expected) {
        const std::vector<MenuTexts> shown = shownMenus(bar());
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(shown[i].title, expected[i].title);
            EXPECT_EQ(shown[i].items, expected[i].items) << expected[i].title.toStdString();
        }
    };
    expectMenus(englishMenus);
    EXPECT_EQ(window_->menus()->action(Command::Russian)->text(), "Russian");
    window_->OnMenuCommand(Command::Russian);
    EXPECT_EQ(window_->language(), Language::Russian);
    expectMenus(russianMenus);
    EXPECT_EQ(stored(), "Russian");

    // Every letter of the Russian menus is in the menus' font: no boxes.
    for (const MenuTexts& menu : russianMenus) {
        for (const QString& text : QStringList{menu.title} + menu.items) {
            for (const char32_t letter : text.toUcs4())
                EXPECT_TRUE(QFontMetrics(bar().font()).inFontUcs4(letter)) << text.toStdString();
        }
    }
    // The Russian Task menu open, as the player sees it.
    QMenu* task = bar().actions().at(0)->menu();
    task->popup(window_->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(runUntil([&] { return task->isVisible(); }, 5000));
    const QImage shown = task->grab().toImage();
    shown.save(QDir::temp().filePath("vokta-russian-menu.png"));
    int letters = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            letters += qGray(shown.pixel(x, y)) < 100;
    }
    EXPECT_GT(letters, 200) << "the menu's texts are drawn";
    task->hide();

    window_->OnMenuCommand(Command::English);
    expectMenus(englishMenus);
    EXPECT_EQ(stored(), "English");
}

TEST_F(Shell, TheLanguageNameIsStoredAsGivenAndOnlyExactNamesCount)
{
    window_->ApplyLanguage(QStringLiteral("russian"));
    EXPECT_EQ(window_->language(), Language::English);
    EXPECT_EQ(stored(), "russian");
    EXPECT_EQ(bar().actions().at(0)->text(), "&Task");
    window_->ApplyLanguage(QStringLiteral("Russian"));
    EXPECT_EQ(bar().actions().at(0)->text(), "&Задача");
}

TEST_F(Shell, ThePieceMenuSolidUndoAndRedoFollowTheGameInEitherLanguage)
{
    QAction* pieceMenu = bar().actions().at(1);
    QAction* solid = window_->menus()->action(Command::Solid);
    QAction* undo = window_->menus()->action(Command::Undo);
    QAction* redo = window_->menus()->action(Command::Redo);
    EXPECT_FALSE(pieceMenu->isEnabled());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    game().handle({.kind = WindowMessage::Kind::Char, .character = '1'});
    EXPECT_TRUE(pieceMenu->isEnabled());
    window_->ApplyLanguage(QStringLiteral("Russian"));
    EXPECT_TRUE(bar().actions().at(1)->isEnabled());
    window_->OnMenuCommand(Command::Solid);
    EXPECT_TRUE(game().view().taskFigure->solid());
    EXPECT_TRUE(solid->isChecked());
    window_->ApplyLanguage(QStringLiteral("English"));
    EXPECT_TRUE(solid->isChecked());
    EXPECT_FALSE(undo->isEnabled()) << "a selection is no step";
    game().handle({.kind = WindowMessage::Kind::KeyUp, .key = Key::Escape});
    EXPECT_FALSE(bar().actions().at(1)->isEnabled());
    window_->OnMenuCommand(Command::Solid);
    EXPECT_FALSE(solid->isChecked());
    EXPECT_TRUE(undo->isEnabled()) << "letting the piece go is a step";
    EXPECT_FALSE(redo->isEnabled());
    window_->OnMenuCommand(Command::Undo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_TRUE(bar().actions().at(1)->isEnabled()) << "the piece is held again";
}

// The shell's messages show in the window as they are: the hint's words
// translated, the newer-version message English and naming the file.
TEST_F(Shell, HintsNameThePieceByColourAndTheVersionMessageNamesTheFile)
{
    const struct {
        const char* language;
        std::function<void()> show;
        QString shown;
    } table[] = {
        {"English",
         [&] {
             window_->showNotice(*hintNotice({Hint::Kind::TakeOut, 0, {}}, kOriginalPalette, Language::English));
         },
         "Hint|No solution keeps every piece where it is. Take out the magenta piece, which is selected now."},
        {"Russian",
         [&] {
             window_->showNotice(*hintNotice({Hint::Kind::TakeOut, 1, {}}, kOriginalPalette, Language::Russian));
         },
         "Подсказка|Ни одно решение не оставляет все фигуры на своих местах. Уберите голубую фигуру — она сейчас "
         "выделена."},
        {"Russian",
         [&] {
             window_->showNotice(*hintNotice({Hint::Kind::NoTask, -1, {}}, kOriginalPalette, Language::Russian));
         },
         "Подсказка|Подсказывать не к чему: стройте свободно или загрузите задачу."},
        {"Russian",
         [&] {
             window_->showNotice(describeTaskFileError(
                 {TaskFileError::Kind::NewerVersion, TaskFileError::Problem::Version, "new.tsk", {}, 2},
                 Language::Russian));
         },
         "Version Error|new.tsk:\nIncompatible version.\nPlease refresh the game."},
    };
    for (const auto& row : table) {
        window_->ApplyLanguage(QString::fromLatin1(row.language));
        QString shown;
        QTimer::singleShot(0, [&] {
            runUntil([&] { return shownWindow<QMessageBox>() != nullptr; }, 5000);
            if (QMessageBox* box = shownWindow<QMessageBox>()) {
                shown = box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            }
        });
        row.show();
        EXPECT_EQ(shown, row.shown);
    }
}

TEST_F(Shell, F1OnAMenuItemShowsItsHelpInsteadOfRunningIt)
{
    pressF1On(0, Command::Save);
    EXPECT_TRUE(runUntil([] { return whatsThisShown(); }, 5000)) << "the pop-up topic of Save...";
    EXPECT_EQ(shownWindow<QFileDialog>(), nullptr) << "no save dialog";
    QWhatsThis::hideText();

    pressF1On(0, Command::Solid);
    EXPECT_TRUE(runUntil([] { return whatsThisShown(); }, 5000)) << "the pop-up topic of Solid";
    EXPECT_FALSE(game().view().taskFigure->solid());
    EXPECT_FALSE(window_->menus()->action(Command::Solid)->isChecked()) << "no check mark of its own";
    QWhatsThis::hideText();

    for (const Command option : {Command::DistinctColours, Command::PieceNumbers}) {
        pressF1On(0, option);
        EXPECT_TRUE(runUntil([] { return whatsThisShown(); }, 5000)) << static_cast<int>(option);
        EXPECT_FALSE(window_->menus()->action(option)->isChecked());
        QWhatsThis::hideText();
    }
    EXPECT_EQ(game().view().viewOptions().palette, &kOriginalPalette);
    EXPECT_FALSE(game().view().viewOptions().pieceNumbers);

    game().handle({.kind = WindowMessage::Kind::Char, .character = '2'});
    game().poseCamera(game().view().camera.position(), {-1, 0, -0.3f}, game().view().camera.up());
    const CubeOffsets before = game().state().piece(game().state().selected).offsets;
    pressF1On(1, Command::TurnClockwise);
    ASSERT_TRUE(runUntil([&] { return window_->help().window() && window_->help().window()->isVisible(); }, 5000));
    EXPECT_TRUE(window_->help().browser()->source().toString().endsWith("/help/en/index.html"));
    EXPECT_EQ(game().state().piece(game().state().selected).offsets, before) << "the piece did not turn";
}

// The two display options change what the view shows at once, keep their
// check marks in line in either language, and are stored as they change.
TEST_F(Shell, DistinctColoursAndPieceNumbersChangeThePictureAndAreStored)
{
    GameView& view = *window_->view();
    const auto grab = [&view] { return view.screen()->grabWindow(view.winId()).toImage(); };
    // Pixels within a few steps of colour on every channel.
    const auto count = [](const QImage& picture, Colour colour) {
        const auto near = [](int a, int b) { return std::abs(a - b) <= 3; };
        int found = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb pixel = picture.pixel(x, y);
                found += near(qRed(pixel), qRed(colour)) && near(qGreen(pixel), qGreen(colour)) &&
                    near(qBlue(pixel), qBlue(colour));
            }
        }
        return found;
    };
    const Colour black = 0xFF000000;
    const QImage first = grab();
    const int tenth = first.width() * first.height() / 10;
    // What the picture shows: a tenth of the view or more in the background of
    // palette, and numbers in black ink or none.
    const auto shows = [&](const Palette& palette, bool numbers) {
        const QImage picture = grab();
        const Palette& other = &palette == &kOriginalPalette ? kDistinctPalette : kOriginalPalette;
        return count(picture, palette.background) > tenth && count(picture, other.background) == 0 &&
            (count(picture, black) > 100) == numbers;
    };
    const auto stored = [](const char* key) {
        return QSettings(testSettingsFile(), QSettings::IniFormat).value(QStringLiteral("OPTIONS/") + key).toString();
    };

    QAction* distinct = window_->menus()->action(Command::DistinctColours);
    QAction* numbers = window_->menus()->action(Command::PieceNumbers);
    const QList<QAction*> task = bar().actions().at(0)->menu()->actions();
    ASSERT_GE(task.size(), 3);
    EXPECT_TRUE(task[task.size() - 3]->isSeparator());
    EXPECT_EQ(task[task.size() - 2], distinct);
    EXPECT_EQ(task.back(), numbers);
    EXPECT_TRUE(distinct->isCheckable() && numbers->isCheckable());
    EXPECT_TRUE(runUntil([&] { return shows(kOriginalPalette, false); }, 5000));

    distinct->trigger();
    EXPECT_TRUE(runUntil([&] { return shows(kDistinctPalette, false); }, 5000));
    EXPECT_TRUE(distinct->isChecked());
    EXPECT_FALSE(numbers->isChecked());
    EXPECT_EQ(stored("Colours"), "Distinct");
    EXPECT_EQ(stored("Numbers"), "Off");

    numbers->trigger();
    EXPECT_TRUE(runUntil([&] { return shows(kDistinctPalette, true); }, 5000)) << "black numbers on the light pieces";
    EXPECT_TRUE(distinct->isChecked() && numbers->isChecked());
    EXPECT_EQ(stored("Numbers"), "On");

    window_->ApplyLanguage(QStringLiteral("Russian"));
    EXPECT_EQ(distinct->text(), "Различимые цвета");
    EXPECT_EQ(numbers->text(), "Номера фигур");
    EXPECT_TRUE(distinct->isChecked() && numbers->isChecked());
    window_->ApplyLanguage(QStringLiteral("English"));

    // The library's pictures show the figures on the same background.
    QRgb corner = 0;
    EXPECT_TRUE(inTheLibrary([&](LibraryDialog& library) {
        corner = library.list()->item(0)->icon().pixmap(QSize(160, 120)).toImage().pixel(0, 0);
        library.reject();
    }));
    EXPECT_EQ(corner & 0xFFFFFF, kDistinctPalette.background & 0xFFFFFF);

    distinct->trigger();
    numbers->trigger();
    EXPECT_TRUE(runUntil([&] { return shows(kOriginalPalette, false); }, 5000));
    EXPECT_FALSE(distinct->isChecked() || numbers->isChecked());
    EXPECT_EQ(stored("Colours"), "Original");
    EXPECT_EQ(stored("Numbers"), "Off");
}

TEST_F(Shell, TheHelpPagesOpenInTheInterfacesLanguage)
{
    window_->OnMenuCommand(Command::KeyboardHelp);
    ASSERT_NE(window_->help().browser(), nullptr);
    EXPECT_TRUE(window_->help().browser()->source().toString().endsWith("/help/en/keyboard.html"));
    EXPECT_TRUE(window_->help().browser()->toPlainText().contains("Shift+Page Down"));
    window_->ApplyLanguage(QStringLiteral("Russian"));
    window_->OnMenuCommand(Command::MouseHelp);
    EXPECT_TRUE(window_->help().browser()->source().toString().endsWith("/help/ru/mouse.html"));
    EXPECT_EQ(window_->help().window()->windowTitle(), "Справка Вокты");
    window_->OnMenuCommand(Command::HelpIndex);
    EXPECT_TRUE(window_->help().browser()->source().toString().endsWith("/help/ru/index.html"));
}

TEST_F(Shell, TheFileDialogsShowTheFiltersOfTheLanguage)
{
    window_->ApplyLanguage(QStringLiteral("Russian"));
    QStringList filters;
    QString suffix;
    QString folder;
    QTimer::singleShot(0, [&] {
        runUntil([&] { return shownWindow<QFileDialog>() != nullptr; }, 5000);
        if (QFileDialog* dialog = shownWindow<QFileDialog>()) {
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            folder = dialog->directory().absolutePath();
            dialog->reject();
        }
    });
    // A free build is tested by nothing; a cancelled Load arms the test all the same.
    game().setBuiltInTask(false);
    window_->OnMenuCommand(Command::Load);
    EXPECT_EQ(filters, (QStringList{"Файлы фигур Вокта (*.tsk)", "Все файлы (*)"}));
    EXPECT_EQ(suffix, "tsk");
    EXPECT_EQ(folder, QDir(VOKTA_RUNTIME_DIR "/tasks").absolutePath()) << "the first Load opens in the library";
    EXPECT_FALSE(game().state().taskCompleted) << "cancelling Load arms the completion test";
}

TEST_F(Shell, AboutClosesOnAKeyOrAMouseReleaseWhileTheGameGoesOn)
{
    QTimer* timer = window_->findChild<QTimer*>(QStringLiteral("gameTimer"));
    for (const bool byKey : {true, false}) {
        int ticks = 0;
        const QMetaObject::Connection counting = QObject::connect(timer, &QTimer::timeout, [&] { ++ticks; });
        QTimer::singleShot(0, [&] {
            runUntil([&] { return shownWindow<AboutDialog>() != nullptr && ticks >= 3; }, 5000);
            if (AboutDialog* about = shownWindow<AboutDialog>()) {
                if (byKey)
                    QTest::keyClick(about, Qt::Key_Space);
                else
                    QTest::mouseClick(about, Qt::RightButton);
            }
        });
        window_->OnMenuCommand(Command::About);
        QObject::disconnect(counting);
        EXPECT_GE(ticks, 3) << "the tick runs while About is open";
        EXPECT_EQ(shownWindow<AboutDialog>(), nullptr);
    }
}

// The library lists every task of its index with a picture and the name in
// the interface's language; the one opened becomes the task.
TEST_F(Shell, TheLibraryOffersEveryTaskAndLoadsTheOneOpened)
{
    const std::vector<LibraryEntry> tasks = readLibrary(VOKTA_RUNTIME_DIR "/tasks", Language::Russian, {});
    ASSERT_EQ(tasks.size(), 46u);
    const auto castleWall = std::find_if(tasks.begin(), tasks.end(), [](const LibraryEntry& task) {
        return QString::fromStdString(task.file).endsWith("/castle-wall.tsk");
    });
    ASSERT_NE(castleWall, tasks.end());
    EXPECT_EQ(castleWall->name, "Крепостная стена");

    window_->ApplyLanguage(QStringLiteral("Russian"));
    window_->shell().setToday([] { return Date{2026, 3, 1}; });
    int offered = 0;
    bool everyPictureDrawn = true;
    QString firstText;
    QString secondText;
    EXPECT_TRUE(inTheLibrary([&](LibraryDialog& library) {
        QListWidget* list = library.list();
        offered = list->count();
        for (int row = 0; row < offered; ++row)
            everyPictureDrawn = everyPictureDrawn && !list->item(row)->icon().isNull();
        firstText = list->item(0)->text();
        secondText = list->item(1)->text();
        // Today's task comes first.
        list->setCurrentRow(static_cast<int>(castleWall - tasks.begin()) + 1);
        library.accept();
    }));
    EXPECT_EQ(offered, 47);
    EXPECT_TRUE(everyPictureDrawn);
    EXPECT_EQ(firstText, "Задача дня, 2026-03-01\nуникальная\nдней подряд: 0");
    EXPECT_EQ(secondText, "Куб\nлёгкая");
    const TaskFileRead read = readTaskFile(VOKTA_RUNTIME_DIR "/tasks/castle-wall.tsk");
    ASSERT_TRUE(read.task);
    EXPECT_FALSE(game().state().taskCompleted);
    EXPECT_EQ(game().state().cellCount, read.task->cellCount);
    for (std::size_t k = 0; k < read.task->cells.size(); ++k)
        EXPECT_EQ(game().state().figure.cells[k], read.task->cells[k]) << "cell " << k;
}

TEST(StartDialogTest, EnterStartsEscapeQuitsAndHelpKeepsItOpen)
{
    int helpShown = 0;
    const struct {
        Qt::Key key;
        const char* focus;
        StartChoice choice;
    } table[] = {
        {Qt::Key_Return, "start", StartChoice::Start},
        {Qt::Key_Escape, "start", StartChoice::Quit},
        {Qt::Key_Return, "quit", StartChoice::Quit},
    };
    for (const auto& row : table) {
        StartDialog dialog([&](QWidget*) { ++helpShown; });
        QTimer::singleShot(0, [&] {
            runUntil([&] { return dialog.isVisible(); }, 5000);
            dialog.findChild<QPushButton*>(QStringLiteral("help"))->click();
            EXPECT_TRUE(dialog.isVisible()) << "HELP leaves the dialog open";
            // The key goes to the button that has the focus.
            QTest::keyClick(dialog.findChild<QPushButton*>(row.focus), row.key);
        });
        EXPECT_EQ(dialog.choose(), row.choice) << row.focus;
    }
    EXPECT_EQ(helpShown, 3);
}

}  // namespace
}  // namespace vokta::testing
