#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <QTemporaryDir>

#include "app/input_routing.h"
#include "app/start_up.h"
#include "platform/program.h"
#include "puzzle/controller/commands.h"
#include "puzzle/controller/pointer.h"
#include "puzzle/scene/game_scene.h"

namespace vokta {
namespace {

// Qt's keys as the shell's keyboard takes them: the game's own keys by
// name, letters by the letter on the key in either layout (Qt names them by
// their upper-case letter), and what they type.
TEST(InputRouting, QtKeysBecomeTheGamesKeysAndShortcutsInEitherLayout)
{
    const std::optional<Command> undo = Command::Undo;
    const std::optional<Command> redo = Command::Redo;
    const std::optional<Command> none;
    const struct {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        Key key;
        std::optional<Command> command;
    } table[] = {
        {Qt::Key_Left, Qt::NoModifier, "", Key::Left, none},
        {Qt::Key_Right, Qt::NoModifier, "", Key::Right, none},
        {Qt::Key_Up, Qt::NoModifier, "", Key::Up, none},
        {Qt::Key_Down, Qt::NoModifier, "", Key::Down, none},
        {Qt::Key_PageUp, Qt::NoModifier, "", Key::PageUp, none},
        {Qt::Key_PageDown, Qt::NoModifier, "", Key::PageDown, none},
        {Qt::Key_Return, Qt::NoModifier, "\r", Key::Enter, none},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", Key::Enter, none},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", Key::Escape, none},
        {Qt::Key_Home, Qt::NoModifier, "", Key::Home, none},
        {Qt::Key_H, Qt::NoModifier, "h", Key::H, none},
        {0x0420, Qt::NoModifier, "", Key::H, none},  // Р: the H key in the Russian layout
        {Qt::Key_End, Qt::NoModifier, "", Key::Other, none},
        {Qt::Key_4, Qt::NoModifier, "4", Key::Other, none},
        {Qt::Key_Z, Qt::ControlModifier, "\x1a", Key::Other, undo},
        {Qt::Key_Y, Qt::ControlModifier, "\x19", Key::Other, redo},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a", Key::Other, redo},
        {0x042F, Qt::ControlModifier, "", Key::Other, undo},  // Я, on the Z key
        {0x041D, Qt::ControlModifier, "", Key::Other, redo},  // Н, on the Y key
        {Qt::Key_Z, Qt::NoModifier, "z", Key::Other, none},
        {Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier, "", Key::Other, none},
        {Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier, "", Key::Other, none},
    };
    for (const auto& row : table) {
        const KeyStroke stroke = keyStrokeFromQt(row.qtKey, row.modifiers, QString::fromLatin1(row.text));
        EXPECT_EQ(gameKey(stroke), row.key) << row.qtKey;
        EXPECT_EQ(shortcut(stroke), row.command) << row.qtKey;
        EXPECT_EQ(stroke.typed, row.text[0]) << row.qtKey;
    }
}

TEST(InputRouting, MouseFlagsNameTheButtonsHeldAndShiftAndControl)
{
    EXPECT_EQ(mouseKeysFromQt(Qt::LeftButton, Qt::NoModifier), kMouseLeft);
    EXPECT_EQ(mouseKeysFromQt(Qt::RightButton, Qt::NoModifier), kMouseRight);
    EXPECT_EQ(mouseKeysFromQt(Qt::MiddleButton, Qt::NoModifier), kMouseMiddle);
    EXPECT_EQ(mouseKeysFromQt(Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier),
              kMouseLeft | kMouseRight | kMouseShift);
    EXPECT_EQ(mouseKeysFromQt(Qt::NoButton, Qt::ControlModifier), kMouseControl);
    // Alt and the other modifiers are not part of the game's flags, so an
    // Alt-drag still orbits the camera.
    EXPECT_EQ(mouseKeysFromQt(Qt::LeftButton, Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier), kMouseLeft);
    EXPECT_EQ(mouseKeysFromQt(Qt::BackButton, Qt::NoModifier), 0);
}

TEST(StartUp, TheCommandLineNamesATaskARecordingOrAReplay)
{
    struct Case {
        QStringList arguments;
        QString taskFile, recordFile, replayFile, problem;
    };
    const Case cases[] = {
        {{"vokta"}, {}, {}, {}, {}},
        {{"vokta", "a.tsk"}, "a.tsk", {}, {}, {}},
        {{"vokta", "--record", "game.play", "a.tsk"}, "a.tsk", "game.play", {}, {}},
        {{"vokta", "--replay", "game.play"}, {}, {}, "game.play", {}},
        {{"vokta", "-x", "a.tsk", "b.tsk"}, "a.tsk", {}, {}, {}},
        // As the desktop entry hands on a file (%u), as a URL.
        {{"vokta", "file:///home/me/my%20task.tsk"}, "/home/me/my task.tsk", {}, {}, {}},
        {{"vokta", "--record"}, {}, {}, {}, "--record needs a file"},
        {{"vokta", "--speed", "3"},
         {},
         {},
         {},
         "unknown option --speed; the options are --record FILE and --replay FILE"},
        {{"vokta", "--record", "a", "--replay", "b"}, {}, "a", "b", "--record and --replay cannot be used together"},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(line.problem, c.problem);
        if (c.problem.isEmpty() || !c.recordFile.isEmpty()) {
            EXPECT_EQ(line.taskFile, c.taskFile);
            EXPECT_EQ(line.recordFile, c.recordFile);
            EXPECT_EQ(line.replayFile, c.replayFile);
        }
    }
}

// A task link clicked in a browser or a chat, as the desktop entry hands it on.
TEST(StartUp, TheCommandLineNamesATaskLink)
{
    EXPECT_EQ(parseCommandLine({"vokta", "vokta:1vAs____-"}).taskLink, "vokta:1vAs____-");
    const CommandLine both = parseCommandLine({"vokta", "vokta://1vAs____-/", "a.tsk"});
    EXPECT_EQ(both.taskLink, "vokta://1vAs____-/");
    EXPECT_EQ(both.taskFile, "a.tsk");
    EXPECT_EQ(parseCommandLine({"vokta", "a.tsk"}).taskLink, "");
}

TEST(StartUp, SeedsAreWholeDecimalNumbersThatFit)
{
    EXPECT_EQ(parseSeed("0"), 0u);
    EXPECT_EQ(parseSeed("42"), 42u);
    EXPECT_EQ(parseSeed("4294967295"), 4294967295u);
    for (const char* refused : {"", "-1", "+1", " 1", "1 ", "4294967296", "12a", "0x10", "1.5"})
        EXPECT_EQ(parseSeed(refused), std::nullopt) << '"' << refused << '"';
}

TEST(StartUp, TheModelFileIsLookedForBesideTheProgramThenInTheDataDirectory)
{
    namespace fs = std::filesystem;
    const std::vector<fs::path> candidates = modelDirectoryCandidates("/opt/game/bin");
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], fs::path("/opt/game/bin"));
    EXPECT_EQ(candidates[1], fs::path("/opt/game/share/vokta"));

    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const fs::path beside = fs::path(root.filePath(QStringLiteral("bin")).toStdU16String());
    const fs::path data = fs::path(root.filePath(QStringLiteral("share")).toStdU16String());
    fs::create_directories(beside);
    fs::create_directories(data);
    EXPECT_EQ(findModelDirectory({beside, data}, kModelFileName), fs::path());

    // A directory called vokta.x is no model file.
    fs::create_directory(beside / "vokta.x");
    std::ofstream(data / "vokta.x").close();
    EXPECT_EQ(findModelDirectory({beside, data}, kModelFileName), data);

    fs::remove(beside / "vokta.x");
    std::ofstream(beside / "vokta.x").close();
    EXPECT_EQ(findModelDirectory({beside, data}, kModelFileName), beside);

    // The program's own folder is the one its executable is in.
    EXPECT_TRUE(fs::exists(programDirectory("") / "app_shell_test"));
}

}  // namespace
}  // namespace vokta
