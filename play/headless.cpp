#include "play/headless.h"

#include "puzzle/controller/commands.h"
#include "puzzle/controller/scene_setup.h"

namespace vokta::play {

void RecordedSound::play(Cue cue)
{
    switch (cue) {
    case Cue::Refusal: tunes.emplace_back("refusal"); break;
    case Cue::Step: tunes.emplace_back("step"); break;
    case Cue::Fanfare: tunes.emplace_back("fanfare"); break;
    }
}

void RecordedShell::record(const Notice& notice)
{
    messages.push_back({notice.caption, notice.text});
}

void RecordedShell::showSuccessMessage()
{
    record(successNotice(language));
    ++successes;
}

void RecordedShell::showTaskFileError(const TaskFileError& error)
{
    record(describeTaskFileError(error, language));
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
    if (const std::optional<Notice> notice = hintNotice(hint, view->palette(), language))
        record(*notice);
}

void RecordedShell::runShellCommand(Command command)
{
    switch (command) {
    case Command::About: dialogs.emplace_back("about"); break;
    case Command::Library: dialogs.emplace_back("library"); break;
    case Command::English:
        language = Language::English;
        dialogs.emplace_back("language English");
        break;
    case Command::Russian:
        language = Language::Russian;
        dialogs.emplace_back("language Russian");
        break;
    case Command::DistinctColours: {
        ViewOptions options = view->viewOptions();
        const bool distinct = options.palette != &kDistinctPalette;
        options.palette = distinct ? &kDistinctPalette : &kOriginalPalette;
        view->setViewOptions(options);
        dialogs.emplace_back(distinct ? "colours Distinct" : "colours Original");
        break;
    }
    case Command::PieceNumbers: {
        ViewOptions options = view->viewOptions();
        options.pieceNumbers = !options.pieceNumbers;
        view->setViewOptions(options);
        dialogs.emplace_back(options.pieceNumbers ? "numbers On" : "numbers Off");
        break;
    }
    default: dialogs.push_back("help " + std::to_string(static_cast<int>(command))); break;
    }
}

HeadlessGame::HeadlessGame(const std::string& modelDirectory, unsigned seed, int width, int height)
    : game(modelDirectory, sound, shell)
{
    shell.view = &game.view;
    game.view.scene.setViewSize(width, height);
    setUpScene(game, seed);
}

}  // namespace vokta::play
