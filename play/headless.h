#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "puzzle/rules/sound_output.h"
#include "shell/shell.h"

namespace vokta::play {

// The sounds a game asked for, by name: "refusal", "step", "fanfare".
class RecordedSound : public SoundOutput {
public:
    void play(Cue cue) override;
    std::vector<std::string> tunes;
};

// Keeps the options and progress for one run and no longer: vokta-play never
// reads or writes the player's own.
class MemoryStore : public ShellStore {
public:
    std::optional<std::string> read(Stored what) override;
    void write(Stored what, std::string_view value) override;
    std::string describe(Stored what) const override;
    std::string setAside(Stored what) override;

private:
    std::map<Stored, std::string> values_;
};

// A front end that shows nothing: it records the messages it would show, in
// the interface's language, and the dialogs it would open; every picker is
// cancelled at once, and every task to make is made at once.
class RecordedView : public ShellView {
public:
    struct Message {
        std::string caption;
        std::string text;
    };

    void menusChanged() override {}
    void showNotice(const Notice& notice) override;
    void repaintNow() override {}
    void pauseForFanfare() override {}
    void showHelp(Command topic) override;
    void showHelpPopup(Command command, std::string_view html) override;
    void showAbout() override;
    void pickTaskFile(Command command) override;
    void pickLibraryTask(const std::vector<LibraryEntry>& tasks) override;
    void pickDifficulty() override;
    void makeTask(std::shared_ptr<TaskOrder> order) override;
    void optionChanged(Stored option) override;
    void announce(const Spoken& spoken) override;
    void showTaskCode(std::string_view code) override;
    void askTaskCode() override;

    std::vector<Message> messages;
    // What a screen reader would have said, each announcement or description as one text.
    std::vector<std::string> spoken;
    std::vector<std::string> dialogs;
    int successes = 0;
    // The shell whose pickers it answers and whose options it names.
    Shell* shell = nullptr;
};

// A whole game without a window: the scene from the model file (and the
// library of its tasks folder), set up with a seed, seen through a viewport
// of a given size.
struct HeadlessGame {
    HeadlessGame(const std::string& modelDirectory, unsigned seed, int width, int height);

    RecordedSound sound;
    MemoryStore store;
    RecordedView view;
    Shell shell;
    Game& game() { return shell.game(); }
};

}  // namespace vokta::play
