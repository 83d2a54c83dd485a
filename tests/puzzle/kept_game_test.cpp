// A game kept between sessions comes back exactly, steps to undo and redo
// included, and a kept game that is damaged, newer or for other pieces is
// refused whole, saying why.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "puzzle/controller/game.h"
#include "puzzle/controller/kept_game.h"
#include "test_game.h"

namespace vokta {
namespace {

using Kind = WindowMessage::Kind;

// A game played a while: pieces selected, moved, turned and let go, the
// figure made solid, New and Retry, and three steps undone (so that some can
// be redone).
void play(Game& game, int rounds)
{
    const Key moves[] = {Key::Left, Key::Right, Key::Up, Key::Down, Key::PageUp};
    for (int round = 0; round < rounds; ++round) {
        game.handle({.kind = Kind::Char, .character = static_cast<char>('1' + round % 7)});
        game.handle({.kind = Kind::KeyDown, .key = moves[round % 5], .shift = round % 3 == 0});
        game.handle({.kind = Kind::KeyDown, .key = Key::Enter});
        game.handle({.kind = Kind::KeyUp, .key = Key::Enter});
        for (int t = 0; t < 4; ++t)
            game.tick();
        if (round % 9 == 4)
            game.handle({.kind = Kind::Command, .command = round % 2 ? Command::Retry : Command::New});
    }
    for (int k = 0; k < 3; ++k)
        game.handle({.kind = Kind::Command, .command = Command::Undo});
}

class KeptGames : public ::testing::Test {
protected:
    KeptGames()
    {
        game.setUp(3);
        other.setUp(99);
    }

    testing::RecordingSound sound;
    testing::RecordingShell shell;
    Game game{VOKTA_RESOURCE_DIR, sound, shell};
    Game other{VOKTA_RESOURCE_DIR, sound, shell};
};

TEST_F(KeptGames, AGameComesBackExactlyAndGoesOnAsItWould)
{
    play(game, 40);
    ASSERT_GT(game.stepsToUndo(), 20u);
    ASSERT_TRUE(game.canRedo());
    const KeptGame kept = game.kept();
    const KeptGameRead read = decodeKeptGame(encodeKeptGame(kept));
    ASSERT_TRUE(read.game) << read.error.problem;
    EXPECT_EQ(*read.game, kept);

    other.resume(*read.game);
    EXPECT_EQ(other.kept(), kept);
    EXPECT_EQ(other.state(), game.state());
    EXPECT_EQ(other.runMs(), game.runMs());
    EXPECT_EQ(other.view().camera.position(), game.view().camera.position());
    // The same input from here gives the same game: a redo, undos back
    // into the earlier session, a Retry that draws from the generator.
    const WindowMessage inputs[] = {
        {.kind = Kind::Command, .command = Command::Redo},
        {.kind = Kind::Command, .command = Command::Undo},
        {.kind = Kind::Command, .command = Command::Undo},
        {.kind = Kind::Command, .command = Command::Retry},
        {.kind = Kind::Char, .character = '2'},
        {.kind = Kind::KeyDown, .key = Key::Left},
        {.kind = Kind::Command, .command = Command::Undo},
    };
    for (const WindowMessage& input : inputs) {
        game.handle(input);
        other.handle(input);
        for (int t = 0; t < 3; ++t) {
            game.tick();
            other.tick();
        }
        EXPECT_EQ(other.state(), game.state());
        EXPECT_EQ(other.stepsToUndo(), game.stepsToUndo());
        EXPECT_EQ(other.canRedo(), game.canRedo());
    }
}

TEST_F(KeptGames, AThousandStepsKeepSmall)
{
    // play() ends with three steps undone: the history is full once that
    // many are left to undo.
    while (game.stepsToUndo() < History::kLimit - 3)
        play(game, 30);
    const std::vector<unsigned char> bytes = encodeKeptGame(game.kept());
    EXPECT_LT(bytes.size(), 200u * 1024u) << "a step costs a few dozen bytes";
    EXPECT_EQ(decodeKeptGame(bytes).game, game.kept());
}

// Anything short of a whole kept game is refused, with the reason; a kept
// game that only a newer game or other pieces could have made, too.
TEST_F(KeptGames, WhatIsNoWholeKeptGameIsRefused)
{
    play(game, 12);
    const KeptGame kept = game.kept();
    const std::vector<unsigned char> bytes = encodeKeptGame(kept);
    using Error = KeptGameError::Kind;
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        const std::vector<unsigned char> shorter(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(decodeKeptGame(shorter).error.kind, Error::Damaged) << "cut at " << cut;
        EXPECT_FALSE(decodeKeptGame(shorter).game);
    }
    for (std::size_t at = 17; at < bytes.size(); at += 13) {
        std::vector<unsigned char> changed = bytes;
        changed[at] ^= 0x10;
        EXPECT_FALSE(decodeKeptGame(changed).game) << "byte " << at;
    }
    std::vector<unsigned char> newer = bytes;
    newer[16] = 2;
    EXPECT_EQ(decodeKeptGame(newer).error.kind, Error::NewerVersion);

    // Well kept, but no game this game could have made.
    const struct {
        const char* what;
        void (*change)(KeptGame&);
        Error error;
    } table[] = {
        {"eight pieces", [](KeptGame& k) { k.now.state.pieceCount = 8; }, Error::OtherPieces},
        {"no such piece selected", [](KeptGame& k) { k.now.state.selected = 7; }, Error::Damaged},
        {"a selection without a mode",
         [](KeptGame& k) {
             k.now.state.selected = 2;
             k.now.state.selectionMode = SelectionMode::None;
         },
         Error::Damaged},
        {"a cube between cells",
         [](KeptGame& k) {
             k.now.state.piece(3).offsets[1] = {5, 0, 0};
         },
         Error::Damaged},
        {"a mirrored piece",
         [](KeptGame& k) {
             k.now.state.piece(2).turn.rows[0] = {-1, 0, 0};
         },
         Error::Damaged},
        {"a figure cell that is no number",
         [](KeptGame& k) {
             k.now.state.figure.cells[4].y = std::numeric_limits<float>::quiet_NaN();
             k.now.state.figure.shown = !k.now.state.figure.shown;
         },
         Error::Damaged},
        {"more undone than there are steps", [](KeptGame& k) { k.undoable = k.steps.size() + 1; }, Error::Damaged},
        {"an attempt started after the ticks", [](KeptGame& k) { k.now.run.startTick = k.tickCount + 1; },
         Error::Damaged},
        {"a view that looks nowhere", [](KeptGame& k) { k.cameraDirection = {}; }, Error::Damaged},
    };
    for (const auto& row : table) {
        KeptGame changed = kept;
        row.change(changed);
        const KeptGameRead read = decodeKeptGame(encodeKeptGame(changed));
        EXPECT_FALSE(read.game) << row.what;
        EXPECT_EQ(read.error.kind, row.error) << row.what << ": " << read.error.problem;
    }
}

}  // namespace
}  // namespace vokta
