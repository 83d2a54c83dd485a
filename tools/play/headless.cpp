#include "tools/play/headless.h"

#include "puzzle/commands.h"
#include "puzzle/scene_setup.h"

namespace vokta::play {

void RecordedSound::play(Cue cue)
{
    switch (cue) {
    case Cue::Refusal: tunes.emplace_back("refusal"); break;
    case Cue::Step: tunes.emplace_back("step"); break;
    case Cue::Fanfare: tunes.emplace_back("fanfare"); break;
    }
}

void RecordedShell::showSuccessMessage()
{
    const Notice notice = successNotice(Language::English);
    messages.push_back({notice.caption, notice.text});
    ++successes;
}

void RecordedShell::showTaskFileError(const TaskFileError& error)
{
    const Notice notice = describeTaskFileError(error);
    messages.push_back({notice.caption, notice.text});
}

std::optional<std::string> RecordedShell::chooseTaskFileToLoad()
{
    dialogs.emplace_back("load");
    return std::nullopt;
}

std::optional<std::string> RecordedShell::chooseTaskFileToSave()
{
    dialogs.emplace_back("save");
    return std::nullopt;
}

void RecordedShell::showHint(const Hint& hint)
{
    // The runner keeps the game's own colours and English.
    if (const std::optional<Notice> notice = hintNotice(hint, kOriginalPalette, Language::English))
        messages.push_back({notice->caption, notice->text});
}

void RecordedShell::runShellCommand(Command command)
{
    switch (command) {
    case Command::About: dialogs.emplace_back("about"); break;
    case Command::Library: dialogs.emplace_back("library"); break;
    case Command::English: dialogs.emplace_back("language English"); break;
    case Command::Russian: dialogs.emplace_back("language Russian"); break;
    default: dialogs.push_back("help " + std::to_string(static_cast<int>(command))); break;
    }
}

HeadlessGame::HeadlessGame(const std::string& modelDirectory, unsigned seed, int width, int height)
    : game(modelDirectory, sound, shell)
{
    game.view.scene.setViewSize(width, height);
    setUpScene(game, seed);
}

}  // namespace vokta::play
