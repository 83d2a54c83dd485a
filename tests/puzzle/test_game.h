#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "puzzle/controller/game_data.h"
#include "puzzle/controller/game_tick.h"
#include "puzzle/controller/scene_setup.h"
#include "rules/state_fixture.h"

namespace vokta::testing {

// Records what the game tells the shell, in order.
class RecordingShell : public GameShell {
public:
    void repaintNow() override { calls.push_back("repaint"); }
    void pauseForFanfare() override { calls.push_back("pause"); }
    void taskCompleted() override { calls.push_back("success"); }
    void refreshMenuState() override { calls.push_back("menus"); }
    void stepsChanged() override { calls.push_back("steps"); }
    void showTaskFileError(const TaskFileError& error) override { errors.push_back(error); }
    void showHint(const Hint& hint) override { hints.push_back(hint); }

    std::vector<TaskFileError> errors;
    std::vector<Hint> hints;

    std::vector<std::string> calls;
};

// A game with the scene set up from the real model file and a fixed seed.
class GameFixture : public ::testing::Test {
protected:
    GameFixture() { setUpScene(game, 1); }

    PieceState& piece(int index) { return game.state.piece(index); }

    // Puts every piece in play at rest far apart on the floor, away from the middle.
    void parkPieces()
    {
        for (int i = 0; i < kPieceTotal; ++i) {
            piece(i).position = {-90 + 30 * i, 90, 0};
            piece(i).falling = false;
        }
        game.present();
    }

    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            OnTimerTick(game);
    }

    RecordingSound sound;
    RecordingShell shell;
    GameData game{VOKTA_RESOURCE_DIR, sound, shell};
};

}  // namespace vokta::testing
