#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "puzzle/controller/game.h"
#include "puzzle/rules/sound_output.h"
#include "shell/messages.h"

namespace vokta::play {

// The sounds a game asked for, by name: "refusal", "step", "fanfare".
class RecordedSound : public SoundOutput {
public:
    void play(Cue cue) override;
    std::vector<std::string> tunes;
};

// A window that shows nothing: it records the messages it would show, in
// its language, and the dialogs it would open; a file dialog is cancelled at
// once. The language and display commands switch as in the window.
class RecordedShell : public GameShell {
public:
    struct Message {
        std::string caption;
        std::string text;
    };

    void repaintNow() override {}
    void pauseForFanfare() override {}
    void showSuccessMessage() override;
    void refreshMenuState() override {}
    void showTaskFileError(const TaskFileError& error) override;
    std::optional<std::string> chooseTaskFileToLoad() override;
    std::optional<std::string> chooseTaskFileToSave() override;
    void runShellCommand(Command command) override;
    void showHint(const Hint& hint) override;

    std::vector<Message> messages;
    std::vector<std::string> dialogs;
    int successes = 0;
    // English until a Russian command, as the window without a settings file.
    Language language = Language::English;
    // The scene whose palette and numbers the display commands switch, and
    // whose colours a hint names.
    GameScene* view = nullptr;

private:
    void record(const Notice& notice);
};

// A whole game without a window: the scene from the model file, set up
// with a seed, seen through a viewport of a given size.
struct HeadlessGame {
    HeadlessGame(const std::string& modelDirectory, unsigned seed, int width, int height);

    RecordedSound sound;
    RecordedShell shell;
    Game game;
};

}  // namespace vokta::play
