#include <gtest/gtest.h>

#include <cstdio>

#include "play/recording.h"
#include "play/runner.h"
#include "puzzle/controller/commands.h"
#include "puzzle/controller/pointer.h"

namespace vokta::play {
namespace {

using Kind = WindowMessage::Kind;

std::string text(const WindowMessage& m)
{
    return std::to_string(static_cast<int>(m.kind)) + '/' + std::to_string(static_cast<int>(m.key)) + '/' +
        std::to_string(m.shift) + '/' + std::to_string(m.character) + '/' + std::to_string(m.x) + ',' +
        std::to_string(m.y) + '/' + std::to_string(m.keys) + '/' + std::to_string(m.button) + '/' +
        std::to_string(static_cast<int>(m.command));
}

// What the window sends, recorded and read back, gives vokta-play the same
// messages, save for characters that do nothing (only digits select), and
// a task loaded through a dialog comes back as a load of its file, and one
// opened from its code as that code.
TEST(Recording, GivesBackEveryMessageThatMatters)
{
    const WindowMessage tick{.kind = Kind::Timer};
    const std::vector<WindowMessage> sent = {
        tick,
        tick,
        {.kind = Kind::KeyDown, .key = Key::Other},
        {.kind = Kind::Char, .character = '4'},
        {.kind = Kind::KeyUp, .key = Key::Other},
        {.kind = Kind::KeyDown, .key = Key::Left, .shift = true},
        tick,
        {.kind = Kind::KeyUp, .key = Key::Left},
        {.kind = Kind::KeyDown, .key = Key::Other},
        {.kind = Kind::Char, .character = '#'},
        {.kind = Kind::KeyDown, .key = Key::Enter},
        {.kind = Kind::Char, .character = '\r'},
        {.kind = Kind::KeyDown, .key = Key::H},
        {.kind = Kind::Char, .character = 'h'},
        {.kind = Kind::KeyDown, .key = Key::Home},
        {.kind = Kind::Char, .character = '7'},
        {.kind = Kind::ButtonDown, .x = 640, .y = 400, .keys = kMouseLeft | kMouseShift, .button = kMouseLeft},
        {.kind = Kind::MouseMove, .x = -12, .y = -3, .keys = kMouseLeft | kMouseShift},
        {.kind = Kind::ButtonUp, .x = -12, .y = -3},
        {.kind = Kind::DoubleClick, .x = 5, .y = 6, .keys = kMouseRight | kMouseControl, .button = kMouseRight},
        {.kind = Kind::Command, .command = Command::Undo},
        {.kind = Kind::Command, .command = Command::Load, .file = ChosenFile{" my #1 task.tsk"}},
        {.kind = Kind::Command, .command = Command::Library},
        {.kind = Kind::Command,
         .command = Command::Load,
         .file = ChosenFile{"vokta:1B-", std::vector<unsigned char>{1, 5, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}},
        tick,
    };
    const std::vector<WindowMessage> expected = {
        tick,
        tick,
        {.kind = Kind::KeyDown, .key = Key::Other},
        {.kind = Kind::Char, .character = '4'},
        {.kind = Kind::KeyUp, .key = Key::Other},
        {.kind = Kind::KeyDown, .key = Key::Left, .shift = true},
        tick,
        {.kind = Kind::KeyUp, .key = Key::Left},
        {.kind = Kind::KeyDown, .key = Key::Other},
        {.kind = Kind::KeyDown, .key = Key::Enter},
        {.kind = Kind::KeyDown, .key = Key::H},
        {.kind = Kind::Char, .character = 'h'},
        {.kind = Kind::KeyDown, .key = Key::Home},
        {.kind = Kind::Char, .character = '7'},
        {.kind = Kind::ButtonDown, .x = 640, .y = 400, .keys = kMouseLeft | kMouseShift, .button = kMouseLeft},
        {.kind = Kind::MouseMove, .x = -12, .y = -3, .keys = kMouseLeft | kMouseShift},
        {.kind = Kind::ButtonUp, .x = -12, .y = -3},
        {.kind = Kind::DoubleClick, .x = 5, .y = 6, .keys = kMouseRight | kMouseControl, .button = kMouseRight},
        {.kind = Kind::Command, .command = Command::Undo},
        {.kind = Kind::Command, .command = Command::Library},
        tick,
    };

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        Recorder recorder(file);
        recorder.setup(77);
        recorder.size(800, 600);
        for (const WindowMessage& message : sent)
            recorder.message(message);
    }
    std::string written(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    ASSERT_EQ(std::fread(written.data(), 1, written.size(), file), written.size());
    std::fclose(file);

    const Script script = parseScript(written);
    ASSERT_EQ(script.error, "") << written;
    ASSERT_GE(script.actions.size(), 2u);
    EXPECT_EQ(script.actions[0].kind, Action::Kind::Setup);
    EXPECT_EQ(script.actions[0].number, 77u);
    EXPECT_EQ(script.actions[1].kind, Action::Kind::Size);
    EXPECT_EQ(script.actions[1].x, 800);
    std::vector<std::string> got;
    std::vector<std::string> opened;
    for (const Action& action : script.actions) {
        if (action.kind == Action::Kind::Load || action.kind == Action::Kind::Code)
            opened.push_back((action.kind == Action::Kind::Code ? "code " : "load ") + action.text);
        if (action.kind == Action::Kind::Tick)
            got.insert(got.end(), action.number, text(tick));
        for (const WindowMessage& message : inputMessages(action))
            got.push_back(text(message));
    }
    std::vector<std::string> want;
    for (const WindowMessage& message : expected)
        want.push_back(text(message));
    EXPECT_EQ(got, want) << written;
    EXPECT_EQ(opened, (std::vector<std::string>{"load  my #1 task.tsk", "code 1B-"})) << written;
}

}  // namespace
}  // namespace vokta::play
