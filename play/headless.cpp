#include "play/headless.h"

namespace vokta::play {

namespace {

// Candidates tried between looks at whether a task is made.
constexpr std::uint32_t kCandidatesAtOnce = 1000;

}  // namespace

void RecordedSound::play(Cue cue)
{
    switch (cue) {
    case Cue::Refusal: tunes.emplace_back("refusal"); break;
    case Cue::Step: tunes.emplace_back("step"); break;
    case Cue::Fanfare: tunes.emplace_back("fanfare"); break;
    }
}

std::optional<std::string> MemoryStore::read(Stored what)
{
    const auto kept = values_.find(what);
    return kept == values_.end() ? std::nullopt : std::optional<std::string>(kept->second);
}

void MemoryStore::write(Stored what, std::string_view value)
{
    values_[what] = std::string(value);
}

std::string MemoryStore::describe(Stored what) const
{
    return std::string(storedName(what).setting);
}

std::string MemoryStore::setAside(Stored what)
{
    values_.erase(what);
    return {};
}

void RecordedView::showNotice(const Notice& notice)
{
    messages.push_back({notice.caption, notice.text});
    if (notice.topic == Notice::Topic::Success)
        ++successes;
}

void RecordedView::showHelp(Command topic)
{
    dialogs.push_back("help " + std::to_string(static_cast<int>(topic)));
}

void RecordedView::showHelpPopup(Command command, std::string_view)
{
    dialogs.push_back("help " + std::to_string(static_cast<int>(command)));
}

void RecordedView::showAbout()
{
    dialogs.emplace_back("about");
}

void RecordedView::pickTaskFile(Command command)
{
    dialogs.emplace_back(command == Command::Save ? "save" : "load");
    shell->fileChosen(command, std::nullopt);
}

void RecordedView::pickLibraryTask(const std::vector<LibraryEntry>&)
{
    dialogs.emplace_back("library");
    shell->fileChosen(Command::Library, std::nullopt);
}

void RecordedView::pickDifficulty()
{
    dialogs.emplace_back("random task");
    shell->difficultyChosen(std::nullopt);
}

void RecordedView::makeTask(std::shared_ptr<TaskOrder> order)
{
    while (!order->work(kCandidatesAtOnce)) {}
    shell->taskMade(*order);
}

void RecordedView::optionChanged(Stored option)
{
    const Options& options = shell->options();
    switch (option) {
    case Stored::Language: dialogs.push_back("language " + options.languageName); break;
    case Stored::Colours:
        dialogs.emplace_back(options.display.distinctColours ? "colours Distinct" : "colours Original");
        break;
    case Stored::Numbers: dialogs.emplace_back(options.display.pieceNumbers ? "numbers On" : "numbers Off"); break;
    case Stored::Progress:
    case Stored::Game: break;
    }
}

void RecordedView::announce(const Spoken& words)
{
    spoken.push_back(words.text());
}

void RecordedView::showTaskCode(std::string_view code)
{
    dialogs.push_back("share " + std::string(code));
}

void RecordedView::askTaskCode()
{
    dialogs.emplace_back("task code");
}

HeadlessGame::HeadlessGame(const std::string& modelDirectory, unsigned seed, int width, int height)
    : shell(modelDirectory, modelDirectory + "/tasks", sound, view, store)
{
    view.shell = &shell;
    shell.game().scene().setViewSize(width, height);
    shell.start(seed);
}

}  // namespace vokta::play
