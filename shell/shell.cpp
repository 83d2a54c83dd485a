#include "shell/shell.h"

#include <cstdio>
#include <random>

#include "puzzle/rules/palette.h"
#include "puzzle/rules/task_code.h"
#include "shell/description.h"

namespace vokta {

namespace {

ViewOptions viewOptionsFor(DisplayOptions options)
{
    return {.palette = options.distinctColours ? &kDistinctPalette : &kOriginalPalette,
            .pieceNumbers = options.pieceNumbers};
}

void report(const std::string& problem)
{
    std::fprintf(stderr, "vokta: %s\n", problem.c_str());
}

// Candidates a task made at once tries between looks at whether it is done.
constexpr std::uint32_t kCandidatesAtOnce = 1000;

}  // namespace

Shell::Shell(std::string modelDirectory, std::string libraryFolder, SoundOutput& sound, ShellView& view,
             ShellStore& store)
    : game_(std::move(modelDirectory), sound, *this),
      view_(view),
      store_(store),
      libraryFolder_(std::move(libraryFolder)),
      seeds_([] { return static_cast<std::uint32_t>(std::random_device{}()); })
{
    std::vector<std::string> problems;
    options_ = readOptions(store_, problems);
    if (const std::optional<std::string> kept = store_.read(Stored::Progress)) {
        progress_ = Progress::parse(*kept);
        // The records are written back in the order they are read.
        if (progress_.text() != *kept)
            problems.push_back(store_.describe(Stored::Progress) + ": lines that cannot be read are left out");
    }
    for (const std::string& problem : problems)
        report(problem);
    game_.setViewOptions(viewOptionsFor(options_.display));
}

Shell::~Shell() = default;

void Shell::start(unsigned seed)
{
    if (started_)
        return;
    started_ = true;
    game_.setUp(seed);
    if (keeping_)
        continueKeptGame();
    announcer_.start(game_);
    view_.menusChanged();
}

void Shell::continueKeptGame()
{
    const std::optional<std::string> kept = store_.read(Stored::Game);
    if (!kept)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(kept->data());
    const KeptGameRead read = decodeKeptGame({bytes, kept->size()});
    if (read.game) {
        game_.resume(*read.game);
        if (game_.run().key != 0)
            order(todaysRequest(), TaskOrder::Purpose::Recognise);
        return;
    }
    const std::string where = store_.describe(Stored::Game);
    const std::string aside = store_.setAside(Stored::Game);
    view_.showNotice(keptGameNotice(where, read.error, aside, language()));
}

void Shell::keepGame()
{
    if (!keeping_ || !started_)
        return;
    const std::vector<unsigned char> bytes = encodeKeptGame(game_.kept());
    store_.write(Stored::Game, std::string(bytes.begin(), bytes.end()));
}

std::vector<ShownMenu> Shell::menuBar() const
{
    const bool running = started_;
    return vokta::menuBar(language(),
                          {.pieceSelected = running && game_.state().selected >= 0,
                           .solidFigure = running && game_.figureSolid(),
                           .canUndo = running && game_.canUndo(),
                           .canRedo = running && game_.canRedo(),
                           .distinctColours = options_.display.distinctColours,
                           .pieceNumbers = options_.display.pieceNumbers});
}

bool Shell::keyDown(const KeyStroke& stroke)
{
    if (!started_)
        return false;
    if (isDescribeKey(stroke)) {
        choose(Command::Describe);
        return true;
    }
    bool used = false;
    for (const WindowMessage& message : keyboard_.down(stroke, used))
        route(message);
    return used;
}

void Shell::keyUp(const KeyStroke& stroke)
{
    if (!started_)
        return;
    if (const std::optional<WindowMessage> message = keyboard_.up(stroke))
        route(*message);
}

void Shell::keyboardLost()
{
    for (const WindowMessage& message : keyboard_.lost()) {
        if (started_)
            route(message);
    }
}

void Shell::mouse(const WindowMessage& message)
{
    if (started_)
        route(message);
}

void Shell::zoom(float units)
{
    if (started_)
        game_.zoom(units);
}

void Shell::choose(Command command)
{
    if (!started_)
        return;
    switch (command) {
    case Command::Load: view_.pickTaskFile(command); return;
    case Command::Save:
        // A figure built freely after New: what it would make, before it is written.
        if (game_.run().key == 0)
            view_.showNotice(builtFigureNotice(countBuiltFigure(), language()));
        view_.pickTaskFile(command);
        return;
    case Command::Library: openLibrary(); return;
    case Command::TodaysTask:
        if (todays_ && todays_->request == todaysRequest())
            loadMade(*todays_);
        else
            order(todaysRequest(), TaskOrder::Purpose::Play);
        return;
    case Command::RandomTask: view_.pickDifficulty(); return;
    case Command::About:
        log({.kind = WindowMessage::Kind::Command, .command = command});
        view_.showAbout();
        return;
    case Command::HelpIndex:
    case Command::KeyboardHelp:
    case Command::MouseHelp:
        log({.kind = WindowMessage::Kind::Command, .command = command});
        view_.showHelp(command);
        return;
    case Command::English:
    case Command::Russian:
        log({.kind = WindowMessage::Kind::Command, .command = command});
        setLanguage(command == Command::Russian ? "Russian" : "English");
        view_.optionChanged(Stored::Language);
        return;
    case Command::DistinctColours:
    case Command::PieceNumbers:
        log({.kind = WindowMessage::Kind::Command, .command = command});
        toggleDisplayOption(command);
        return;
    case Command::Describe:
        log({.kind = WindowMessage::Kind::Command, .command = command});
        describe();
        return;
    case Command::ShareTask:
        log({.kind = WindowMessage::Kind::Command, .command = command});
        shareTask();
        return;
    case Command::OpenTaskCode:
        log({.kind = WindowMessage::Kind::Command, .command = command});
        view_.askTaskCode();
        return;
    default: route({.kind = WindowMessage::Kind::Command, .command = command}); return;
    }
}

void Shell::askHelp(Command command)
{
    if (const std::optional<std::string_view> popup = helpPopup(command, language()))
        view_.showHelpPopup(command, *popup);
    else
        view_.showHelp(Command::HelpIndex);
    // A checkable item the front end marked as it was chosen shows its state again.
    view_.menusChanged();
}

void Shell::fileChosen(Command command, const std::optional<ChosenFile>& file)
{
    if (!started_)
        return;
    const WindowMessage message{.kind = WindowMessage::Kind::Command, .command = command, .file = file};
    if (command == Command::Library && file && todays_ && file->path == taskRequestName(todays_->request)) {
        loadMade(*todays_);
        return;
    }
    // A made task has no file of its own: Save writes the task itself, so
    // that it can be shared.
    if (command == Command::Save && file && madeTaskInPlay()) {
        log(message);
        if (const std::optional<TaskFileError> error = writeTaskFile(madeInPlay_->task, file->path))
            showTaskFileError(*error);
        return;
    }
    route(message);
}

void Shell::difficultyChosen(std::optional<Difficulty> difficulty)
{
    if (started_ && difficulty)
        order({.kind = TaskRequest::Kind::Random, .difficulty = *difficulty, .seed = seeds_()},
              TaskOrder::Purpose::Play);
}

void Shell::taskMade(const TaskOrder& order)
{
    const TaskGenerator& made = order.generator();
    if (!made.task()) {
        if (order.purpose() != TaskOrder::Purpose::Recognise)
            view_.showNotice(noTaskMadeNotice(taskRequestName(made.request()), language()));
        return;
    }
    const MadeTask task(made.request(), *made.task());
    if (task.request == todaysRequest())
        todays_ = task;
    switch (order.purpose()) {
    case TaskOrder::Purpose::Play: loadMade(task); return;
    case TaskOrder::Purpose::Library: openLibrary(); return;
    case TaskOrder::Purpose::Recognise:
        if (!madeInPlay_ && game_.run().key == task.key)
            madeInPlay_ = task;
        return;
    }
}

void Shell::loadMadeTask(const TaskRequest& request)
{
    TaskOrder now(request, libraryShapes(), TaskOrder::Purpose::Play);
    while (!now.work(kCandidatesAtOnce)) {}
    taskMade(now);
}

const std::set<FigureShape>& Shell::libraryShapes()
{
    if (!libraryShapes_)
        libraryShapes_ = vokta::libraryShapes(libraryFolder_);
    return *libraryShapes_;
}

bool Shell::openTaskCode(std::string_view text)
{
    if (!started_)
        return false;
    const std::string_view code = taskCodeInLink(text);
    const TaskCodeRead read = decodeTaskCode(code);
    if (!read.task) {
        view_.showNotice(describeTaskCodeError(code, read.error, language()));
        return false;
    }
    // Named by its link, so that a recording writes the code again.
    fileChosen(Command::Load, ChosenFile{std::string(kTaskLinkScheme) + std::string(code), encodeTask(*read.task)});
    return true;
}

void Shell::setLanguage(std::string_view name)
{
    options_.languageName = std::string(name.substr(0, kLongestLanguageName));
    store_.write(Stored::Language, options_.languageName);
    view_.menusChanged();
}

void Shell::tick()
{
    if (started_)
        route({.kind = WindowMessage::Kind::Timer});
}

bool Shell::renderWhenIdle(const std::function<void(float elapsedTicks)>& drawFrame)
{
    return started_ && game_.renderWhenIdle(drawFrame);
}

void Shell::route(const WindowMessage& message)
{
    log(message);
    const GameState before = game_.state();
    game_.handle(message);
    if (const std::optional<Spoken> spoken = announcer_.heard(message, before, game_, language()))
        view_.announce(*spoken);
}

void Shell::setLog(std::function<void(const WindowMessage&)> log)
{
    log_ = std::move(log);
}

void Shell::log(const WindowMessage& message)
{
    if (log_)
        log_(message);
}

void Shell::toggleDisplayOption(Command command)
{
    DisplayOptions& display = options_.display;
    if (command == Command::DistinctColours)
        display.distinctColours = !display.distinctColours;
    else
        display.pieceNumbers = !display.pieceNumbers;
    game_.setViewOptions(viewOptionsFor(display));
    writeDisplayOptions(store_, display);
    view_.optionChanged(command == Command::DistinctColours ? Stored::Colours : Stored::Numbers);
    view_.menusChanged();
}

void Shell::openLibrary()
{
    std::vector<LibraryEntry> tasks = readLibrary(libraryFolder_, language(), progress_);
    if (tasks.empty()) {
        view_.showNotice(emptyLibraryNotice(libraryFolder_, language()));
        return;
    }
    // Today's task comes first, made before the library opens.
    const TaskRequest today = todaysRequest();
    if (!todays_ || todays_->request != today) {
        order(today, TaskOrder::Purpose::Library);
        return;
    }
    tasks.insert(tasks.begin(), todaysEntry(today.date, todays_->task, progress_, language()));
    view_.pickLibraryTask(tasks);
}

void Shell::describe()
{
    view_.announce(describeScene(game_.state(), game_.view().camera, game_.view().palette(), language()));
}

void Shell::order(const TaskRequest& request, TaskOrder::Purpose purpose)
{
    view_.makeTask(std::make_shared<TaskOrder>(request, libraryShapes(), purpose));
}

void Shell::loadMade(const MadeTask& task)
{
    madeInPlay_ = task;
    fileChosen(Command::Load, ChosenFile{taskRequestName(task.request), task.bytes});
}

bool Shell::madeTaskInPlay() const
{
    return madeInPlay_ && game_.run().key == madeInPlay_->key;
}

FigureCount Shell::countBuiltFigure() const
{
    const GameState& state = game_.state();
    std::vector<Vec3> cells;
    Solution built;
    for (int p = 0; p < state.inPlay(); ++p) {
        const PieceState& piece = state.piece(p);
        built.push_back({p, piece.position, piece.offsets});
        for (int c = 0; c < cubeCount(p); ++c)
            cells.push_back(toVec3(piece.cube(c)));
    }
    return countFigure(cells, state.inPlay(), built);
}

TaskRequest Shell::todaysRequest() const
{
    return {.kind = TaskRequest::Kind::Daily, .date = today_()};
}

void Shell::shareTask()
{
    const std::optional<Task> task = currentTask(game_.state());
    if (!task) {
        view_.showNotice(noTaskCodeNotice(std::nullopt, language()));
        return;
    }
    const TaskCodeWrite written = encodeTaskCode(*task);
    if (!written.code) {
        view_.showNotice(noTaskCodeNotice(written.error, language()));
        return;
    }
    view_.showTaskCode(*written.code);
}

void Shell::repaintNow()
{
    view_.repaintNow();
}

void Shell::pauseForFanfare()
{
    view_.pauseForFanfare();
}

void Shell::taskCompleted()
{
    const TaskRun& run = game_.run();
    // A free build is never reported complete; a key of 0 is none.
    bool recorded = countingProgress_ && run.key != 0 && progress_.recordCompletion(run.key, run.moves, game_.runMs());
    if (countingProgress_ && madeTaskInPlay() && madeInPlay_->request.kind == TaskRequest::Kind::Daily)
        recorded = progress_.recordDay(madeInPlay_->request.date) || recorded;
    if (recorded)
        store_.write(Stored::Progress, progress_.text());
    view_.showNotice(successNotice(language()));
}

void Shell::refreshMenuState()
{
    view_.menusChanged();
}

void Shell::stepsChanged()
{
    keepGame();
}

void Shell::showTaskFileError(const TaskFileError& error)
{
    view_.showNotice(describeTaskFileError(error, language()));
}

void Shell::showHint(const Hint& hint)
{
    announcer_.hint(hint, game_, language());
    if (const std::optional<Notice> notice = hintNotice(hint, game_.view().palette(), language()))
        view_.showNotice(*notice);
}

}  // namespace vokta
