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

TEST(InputRouting, CameraAndSelectionKeysKeepTheirMeaning)
{
    EXPECT_EQ(keyFromQt(Qt::Key_Left), Key::Left);
    EXPECT_EQ(keyFromQt(Qt::Key_Right), Key::Right);
    EXPECT_EQ(keyFromQt(Qt::Key_Up), Key::Up);
    EXPECT_EQ(keyFromQt(Qt::Key_Down), Key::Down);
    EXPECT_EQ(keyFromQt(Qt::Key_PageUp), Key::PageUp);
    EXPECT_EQ(keyFromQt(Qt::Key_PageDown), Key::PageDown);
    EXPECT_EQ(keyFromQt(Qt::Key_Return), Key::Enter);
    EXPECT_EQ(keyFromQt(Qt::Key_Enter), Key::Enter);
    EXPECT_EQ(keyFromQt(Qt::Key_Escape), Key::Escape);
    EXPECT_EQ(keyFromQt(Qt::Key_H), Key::H);
    EXPECT_EQ(keyFromQt(0x0420), Key::H) << "the H key in the Russian layout";
    EXPECT_EQ(keyFromQt(Qt::Key_Home), Key::Home);
    EXPECT_EQ(keyFromQt(Qt::Key_End), Key::Other);
    EXPECT_EQ(keyFromQt(Qt::Key_4), Key::Other);
}

TEST(InputRouting, CtrlZUndoesAndCtrlYOrCtrlShiftZRedoInEitherLayout)
{
    const std::optional<Command> undo = Command::Undo;
    const std::optional<Command> redo = Command::Redo;
    const std::optional<Command> none;
    EXPECT_EQ(shortcutCommand(Qt::Key_Z, Qt::ControlModifier), undo);
    EXPECT_EQ(shortcutCommand(Qt::Key_Y, Qt::ControlModifier), redo);
    EXPECT_EQ(shortcutCommand(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), redo);
    EXPECT_EQ(shortcutCommand(0x042F, Qt::ControlModifier), undo) << "Я, on the Z key";
    EXPECT_EQ(shortcutCommand(0x041D, Qt::ControlModifier), redo) << "Н, on the Y key";
    EXPECT_EQ(shortcutCommand(Qt::Key_Z, Qt::NoModifier), none);
    EXPECT_EQ(shortcutCommand(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier), none);
    EXPECT_EQ(shortcutCommand(Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier), none);
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
