// The browser edition's game: the scene drawn by WebGL 2 into the page's
// canvas, the page's keys, mouse and menus turned into the game's window
// messages (as the desktop window turns Qt's), the 66 ms game tick and the
// render when the browser is about to paint. vokta-page.js hands the events
// in and draws the shell around the view: the start dialog, the menu bar,
// the dialogs, the help and the library.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <sys/stat.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "puzzle/game.h"
#include "puzzle/game_tick.h"
#include "puzzle/hint.h"
#include "puzzle/messages.h"
#include "puzzle/routing.h"
#include "puzzle/scene_setup.h"
#include "puzzle/task_picture.h"
#include "render/gl/gl_functions.h"
#include "render/gl/scene_drawer.h"
#include "tools/play/json.h"
#include "web/page_input.h"
#include "web/page_shell.h"
#include "web/page_sound.h"

namespace vokta::web {

namespace {

constexpr const char* kCanvas = "#view";
constexpr const char* kPictureCanvas = "#picture";
constexpr const char* kModelDirectory = "/data";
constexpr const char* kLibraryFolder = "/data/tasks";
// Where a saved task is written before the browser downloads it.
constexpr const char* kSaveFolder = "/saved";
constexpr const char* kDefaultSaveName = "task.tsk";
// The browser storage's keys, as the desktop's settings file names its keys.
constexpr const char* kLanguageKey = "vokta.Language";
constexpr const char* kColoursKey = "vokta.Colours";
constexpr const char* kNumbersKey = "vokta.Numbers";
constexpr const char* kProgressKey = "vokta.progress";

// The page's side (vokta-page.js).
EM_JS(void, showPageMessage, (const char* caption, const char* text),
      { window.vokta.showMessage(UTF8ToString(caption), UTF8ToString(text)); });
EM_JS(void, noteFrameDrawn, (unsigned count), { window.vokta.frameDrawn(count); });
EM_JS(void, refreshPageMenus, (int selected, int solid, int canUndo, int canRedo, int distinct, int numbers), {
    window.vokta.refreshMenus({
        selected : selected != 0,
        solid : solid != 0,
        canUndo : canUndo != 0,
        canRedo : canRedo != 0,
        distinct : distinct != 0,
        numbers : numbers != 0
    });
});
EM_JS(void, openPageHelp, (const char* page), { window.vokta.openHelp(UTF8ToString(page)); });
EM_JS(void, showPageHelpPopup, (int command), { window.vokta.showHelpPopup(command); });
EM_JS(void, showPageAbout, (), { window.vokta.showAbout(); });
EM_JS(void, openPageLibrary, (const char* listing), { window.vokta.openLibrary(JSON.parse(UTF8ToString(listing))); });
EM_JS(void, openPageLoadPicker, (), { window.vokta.openLoadPicker(); });
EM_JS(void, offerDownload, (const char* path, const char* name),
      { window.vokta.download(UTF8ToString(path), UTF8ToString(name)); });
EM_JS(void, storeValue, (const char* key, const char* value),
      { window.vokta.store(UTF8ToString(key), UTF8ToString(value)); });
EM_JS(void, notePageLanguage, (), { window.vokta.languageChanged(); });

// A stored value the game does not understand: said on the console, as the
// desktop's settings file would be read, and the value left as it is.
void noteStoredValue(const char* key, std::string_view value, const char* problem)
{
    std::fprintf(stderr, "vokta: browser storage %s: \"%.*s\" is %s\n", key, static_cast<int>(value.size()),
                 value.data(), problem);
}

// The last part of a path in the page's file system.
std::string fileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

void showNotice(const Notice& notice)
{
    showPageMessage(notice.caption.c_str(), notice.text.c_str());
}

class Page;

// What the rules ask of the window, done by the page.
class PageShell : public GameShell {
public:
    explicit PageShell(Page& page) : page_(page) {}

    void repaintNow() override;
    // A page cannot stop and wait; the fanfare's message follows at once.
    void pauseForFanfare() override {}
    void showSuccessMessage() override;
    void refreshMenuState() override;
    void showTaskFileError(const TaskFileError& error) override;
    std::optional<std::string> chooseTaskFileToLoad() override;
    std::optional<std::string> chooseTaskFileToSave() override;
    void showHint(const Hint& hint) override;
    void runShellCommand(Command command) override;

private:
    Page& page_;
};

class Page {
public:
    Page() : shell_(*this), game_(kModelDirectory, pageSound(), shell_), drawer_(gl_), pictureDrawer_(pictureGl_) {}

    // False, with the reason shown in the page, when WebGL 2 cannot be had.
    bool open()
    {
        EmscriptenWebGLContextAttributes attributes;
        emscripten_webgl_init_context_attributes(&attributes);
        attributes.majorVersion = 2;
        attributes.minorVersion = 0;
        attributes.alpha = EM_FALSE;
        attributes.depth = EM_TRUE;
        attributes.stencil = EM_FALSE;
        // As on the desktop without graphics hardware: no multisampling, so
        // the two draw the same pixels.
        attributes.antialias = EM_FALSE;
        context_ = emscripten_webgl_create_context(kCanvas, &attributes);
        if (context_ <= 0 || emscripten_webgl_make_context_current(context_) != EMSCRIPTEN_RESULT_SUCCESS) {
            showPageMessage("Error", "WebGL 2 not found");
            return false;
        }
        gl_ = linkedGlFunctions();
        if (std::string error; !drawer_.initialize(error)) {
            std::fprintf(stderr, "vokta: %s\n", error.c_str());
            showPageMessage("Error", "WebGL 2 not found");
            return false;
        }
        return true;
    }

    // The settings and progress kept in the browser's storage, as the
    // desktop reads vokta.ini and progress.txt; null for a key not stored.
    void applyStoredSettings(const char* language, const char* colours, const char* numbers, const char* progress)
    {
        languageName_ = language ? language : "English";
        language_ = languageNamed(languageName_);
        if (language_ == Language::English && languageName_ != "English")
            noteStoredValue(kLanguageKey, languageName_,
                            "no language of the game (English or Russian); English is used");
        const std::string_view colourName = colours ? colours : "Original";
        const std::string_view numbersName = numbers ? numbers : "Off";
        if (colourName != "Distinct" && colourName != "Original")
            noteStoredValue(kColoursKey, colourName, "neither Distinct nor Original; the game's own colours are used");
        if (numbersName != "On" && numbersName != "Off")
            noteStoredValue(kNumbersKey, numbersName, "neither On nor Off; the pieces show no numbers");
        options_ = {.palette = colourName == "Distinct" ? &kDistinctPalette : &kOriginalPalette,
                    .pieceNumbers = numbersName == "On"};
        game_.view.setViewOptions(options_);
        progress_ = progress ? Progress::parse(progress) : Progress{};
        // The game writes the records back in the same order it reads them.
        if (progress && progress_.text() != progress)
            std::fprintf(stderr, "vokta: browser storage %s: lines that cannot be read are left out\n", kProgressKey);
    }

    // START: the scene scattered by seed, the tick and the render.
    void start(unsigned seed)
    {
        if (started_)
            return;
        started_ = true;
        fitToCanvas();
        setUpScene(game_, seed);
        paint();
        emscripten_set_interval(
            [](void* page) { static_cast<Page*>(page)->deliver({.kind = WindowMessage::Kind::Timer}); }, kTickMs, this);
        emscripten_request_animation_frame_loop(
            [](double, void* page) {
                static_cast<Page*>(page)->renderWhenIdle();
                return EM_TRUE;
            },
            this);
        shell_.refreshMenuState();
    }

    // The canvas's size in CSS pixels (the mouse's) and its drawing buffer
    // in device pixels, as the desktop's logical and device pixels.
    void fitToCanvas()
    {
        double width = 0;
        double height = 0;
        emscripten_get_element_css_size(kCanvas, &width, &height);
        const double ratio = emscripten_get_device_pixel_ratio();
        viewWidth_ = std::max(1, static_cast<int>(std::lround(width)));
        viewHeight_ = std::max(1, static_cast<int>(std::lround(height)));
        deviceWidth_ = static_cast<int>(std::lround(viewWidth_ * ratio));
        deviceHeight_ = static_cast<int>(std::lround(viewHeight_ * ratio));
        emscripten_set_canvas_element_size(kCanvas, deviceWidth_, deviceHeight_);
        game_.view.scene.setViewSize(viewWidth_, viewHeight_);
    }

    void drawFrame()
    {
        emscripten_webgl_make_context_current(context_);
        drawer_.draw(*game_.view.scene.sceneFrame(), game_.view.scene.viewport(), game_.view.scene.background(),
                     deviceWidth_, deviceHeight_);
        ++framesDrawn_;
        noteFrameDrawn(framesDrawn_);
    }

    // Draws at once and marks the scene as drawn.
    void paint()
    {
        drawFrame();
        game_.view.scene.sceneDirty = false;
    }

    void renderWhenIdle()
    {
        RenderWhenIdle(game_, [this](float) { drawFrame(); });
    }

    void deliver(const WindowMessage& message)
    {
        if (started_)
            MainWndProc(game_, message);
    }

    // A menu item chosen; with help, F1 was pressed on it: its help shows instead.
    void menuCommand(Command command, bool help)
    {
        if (!started_)
            return;
        if (help) {
            showCommandHelp(command);
            return;
        }
        // The file picker and the library answer later; their choice comes
        // back through loadChosen and libraryChosen as the same command.
        if (command == Command::Load) {
            loadPending_ = false;
            openLoadPicker();
            return;
        }
        if (command == Command::Library) {
            openLibrary();
            return;
        }
        deliver({.kind = WindowMessage::Kind::Command, .command = command});
        offerSavedFile();
    }

    // What the file picker gave for Load: a file in the page's file system,
    // or nothing when the player cancelled.
    void loadChosen(const char* path)
    {
        chosenLoad_ = path ? std::optional<std::string>(path) : std::nullopt;
        loadPending_ = true;
        deliver({.kind = WindowMessage::Kind::Command, .command = Command::Load});
        loadPending_ = false;
        if (chosenLoad_)
            saveName_ = fileNameOf(*chosenLoad_);
        chosenLoad_.reset();
    }

    std::optional<std::string> takeChosenLoad() { return loadPending_ ? chosenLoad_ : std::nullopt; }

    // The library's dialog with its tasks, read afresh with the player's
    // progress and the interface's language; a message when there are none.
    void openLibrary()
    {
        libraryTasks_.clear();
        const std::vector<LibraryEntry> entries = readPageLibrary(kLibraryFolder, language_, progress_, libraryTasks_);
        libraryFiles_.clear();
        for (const LibraryEntry& entry : entries)
            libraryFiles_.push_back(entry.file);
        if (entries.empty()) {
            constexpr std::string_view kContext = "vokta::MainWindow";
            showNotice({std::string(translate(language_, kContext, "Task library")),
                        withArguments(translate(language_, kContext, "The task library %1 is missing or empty."),
                                      {kLibraryFolder})});
            return;
        }
        openPageLibrary(libraryJson(entries).c_str());
    }

    // Draws task index's picture into the picture canvas; false when the
    // picture canvas has no WebGL 2 either.
    bool drawLibraryPicture(int index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= libraryTasks_.size() || !openPictureContext())
            return false;
        // In device pixels, as the view is drawn, so that it is sharp at any pixel ratio.
        const double ratio = emscripten_get_device_pixel_ratio();
        const int deviceWidth = static_cast<int>(std::lround(kTaskPictureWidth * ratio));
        const int deviceHeight = static_cast<int>(std::lround(kTaskPictureHeight * ratio));
        emscripten_set_canvas_element_size(kPictureCanvas, deviceWidth, deviceHeight);
        emscripten_webgl_make_context_current(pictureContext_);
        TaskPictureScene picture(kModelDirectory, libraryTasks_[static_cast<std::size_t>(index)],
                                 game_.view.palette().background);
        picture.scene.setViewSize(kTaskPictureWidth, kTaskPictureHeight);
        pictureDrawer_.draw(*picture.scene.sceneFrame(), picture.scene.viewport(), picture.scene.background(),
                            deviceWidth, deviceHeight);
        emscripten_webgl_make_context_current(context_);
        return true;
    }

    void libraryChosen(int index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= libraryFiles_.size())
            return;
        chosenLibraryTask_ = libraryFiles_[static_cast<std::size_t>(index)];
        deliver({.kind = WindowMessage::Kind::Command, .command = Command::Library});
        chosenLibraryTask_.reset();
    }

    // The Library command, once the player has chosen in the dialog.
    void loadChosenLibraryTask()
    {
        if (!chosenLibraryTask_)
            return;
        if (loadTask(game_, *chosenLibraryTask_))
            saveName_ = fileNameOf(*chosenLibraryTask_);
    }

    // Save writes into the page's file system; the browser then downloads
    // it under the name of the task last loaded.
    std::string saveTarget()
    {
        // The folder may be there already from an earlier save.
        mkdir(kSaveFolder, 0755);
        savePath_ = std::string(kSaveFolder) + "/" + saveName_;
        return savePath_;
    }

    void offerSavedFile()
    {
        if (savePath_.empty())
            return;
        struct stat written {};
        if (stat(savePath_.c_str(), &written) == 0 && S_ISREG(written.st_mode))
            offerDownload(savePath_.c_str(), saveName_.c_str());
        savePath_.clear();
    }

    void showCommandHelp(Command command)
    {
        // As the desktop's F1: a pop-up where the command has one, else the contents.
        if (hasHelpPopup(command))
            showPageHelpPopup(static_cast<int>(command));
        else
            openPageHelp("index.html");
        shell_.refreshMenuState();
    }

    void runShellCommand(Command command)
    {
        switch (command) {
        case Command::About: showPageAbout(); break;
        case Command::Library: loadChosenLibraryTask(); break;
        case Command::HelpIndex: openPageHelp("index.html"); break;
        case Command::KeyboardHelp: openPageHelp("keyboard.html"); break;
        case Command::MouseHelp: openPageHelp("mouse.html"); break;
        case Command::English: applyLanguage("English"); break;
        case Command::Russian: applyLanguage("Russian"); break;
        case Command::DistinctColours:
        case Command::PieceNumbers: toggleDisplayOption(command); break;
        default: break;
        }
    }

    void applyLanguage(const std::string& name)
    {
        languageName_ = name;
        language_ = languageNamed(name);
        storeValue(kLanguageKey, name.c_str());
        notePageLanguage();
        shell_.refreshMenuState();
    }

    void toggleDisplayOption(Command command)
    {
        if (command == Command::DistinctColours)
            options_.palette = options_.palette == &kDistinctPalette ? &kOriginalPalette : &kDistinctPalette;
        else
            options_.pieceNumbers = !options_.pieceNumbers;
        game_.view.setViewOptions(options_);
        storeValue(kColoursKey, options_.palette == &kDistinctPalette ? "Distinct" : "Original");
        storeValue(kNumbersKey, options_.pieceNumbers ? "On" : "Off");
        shell_.refreshMenuState();
    }

    // Counts a completion of the current task in the player's progress and
    // keeps the progress in the browser's storage when the record improved.
    void recordCompletion()
    {
        const TaskRun& run = game_.run;
        // A free build is never reported complete; a key of 0 is none.
        if (run.key == 0)
            return;
        const std::int64_t ms = (game_.tickCount - run.startTick) * kTickMs;
        if (progress_.recordCompletion(run.key, run.moves, ms))
            storeValue(kProgressKey, progress_.text().c_str());
    }

    void refreshMenus()
    {
        const bool solid = game_.view.taskFigure && game_.view.taskFigure->solid();
        refreshPageMenus(game_.state.selected >= 0, solid, game_.history.canUndo(), game_.history.canRedo(),
                         options_.palette == &kDistinctPalette, options_.pieceNumbers);
    }

    // What a test or a bug report may want to know of the game in view.
    std::string status() const
    {
        int falling = 0;
        for (int i = 0; i < game_.state.inPlay(); ++i)
            falling += game_.state.piece(i).falling ? 1 : 0;
        return play::Json::object()
            .set("started", play::Json::boolean(started_))
            .set("selected", play::Json::integer(game_.state.selected))
            .set("falling", play::Json::integer(falling))
            .set("taskCompleted", play::Json::boolean(game_.state.taskCompleted))
            .set("ticks", play::Json::integer(game_.tickCount))
            .text();
    }

    std::string texts() const { return shellTexts(language_); }
    Language language() const { return language_; }

    // Whether the game used the key, so the page does not scroll or act on it.
    bool keyDown(std::string_view name, bool shift, bool ctrl, bool alt, bool meta)
    {
        // Keys held with Alt belong to the menu bar.
        if (alt || !started_)
            return false;
        if (const std::optional<Command> command = shortcutFromDom(name, shift, ctrl, alt, meta)) {
            deliver({.kind = WindowMessage::Kind::Command, .command = *command});
            return true;
        }
        const Key key = keyFromDom(name);
        if (isCameraKey(key))
            held_[static_cast<std::size_t>(key)] = true;
        WindowMessage down{.kind = WindowMessage::Kind::KeyDown, .key = key};
        down.shift = shift;
        deliver(down);
        const char character = typedCharacter(name, ctrl);
        if (character != 0)
            deliver({.kind = WindowMessage::Kind::Char, .character = character});
        return key != Key::Other || character == ' ' || (character >= '1' && character <= '7');
    }

    void keyUp(std::string_view name, bool alt)
    {
        const Key key = keyFromDom(name);
        // With Alt only a held camera key is let go.
        if (alt && !(isCameraKey(key) && held_[static_cast<std::size_t>(key)]))
            return;
        if (isCameraKey(key))
            held_[static_cast<std::size_t>(key)] = false;
        deliver({.kind = WindowMessage::Kind::KeyUp, .key = key});
    }

    // The camera stops when the page loses the keyboard with a key held.
    void focusLost()
    {
        for (std::size_t k = 0; k < held_.size(); ++k) {
            if (held_[k]) {
                held_[k] = false;
                deliver({.kind = WindowMessage::Kind::KeyUp, .key = static_cast<Key>(k)});
            }
        }
    }

    void mouse(WindowMessage::Kind kind, int x, int y, int domButton, int domButtons, bool shift, bool ctrl)
    {
        const int button = buttonFromDom(domButton);
        if (kind != WindowMessage::Kind::MouseMove && button == 0)
            return;
        WindowMessage message{.kind = kind, .x = x, .y = y};
        message.keys = mouseKeysFromDom(domButtons, shift, ctrl);
        message.button = kind == WindowMessage::Kind::MouseMove ? 0 : button;
        deliver(message);
    }

    Game& game() { return game_; }
    bool started() const { return started_; }

private:
    static bool isCameraKey(Key key) { return key >= Key::Left && key <= Key::PageDown; }

    bool openPictureContext()
    {
        if (pictureContext_ > 0)
            return true;
        EmscriptenWebGLContextAttributes attributes;
        emscripten_webgl_init_context_attributes(&attributes);
        attributes.majorVersion = 2;
        attributes.minorVersion = 0;
        attributes.alpha = EM_FALSE;
        attributes.depth = EM_TRUE;
        attributes.stencil = EM_FALSE;
        // Smooth edges, as the desktop's pictures have.
        attributes.antialias = EM_TRUE;
        // The page copies the picture after each draw.
        attributes.preserveDrawingBuffer = EM_TRUE;
        pictureContext_ = emscripten_webgl_create_context(kPictureCanvas, &attributes);
        bool ready =
            pictureContext_ > 0 && emscripten_webgl_make_context_current(pictureContext_) == EMSCRIPTEN_RESULT_SUCCESS;
        if (ready) {
            pictureGl_ = linkedGlFunctions();
            std::string error;
            ready = pictureDrawer_.initialize(error);
            if (!ready)
                std::fprintf(stderr, "vokta: the library's pictures: %s\n", error.c_str());
        }
        emscripten_webgl_make_context_current(context_);
        if (!ready)
            pictureContext_ = 0;
        return ready;
    }

    static void openLoadPicker() { openPageLoadPicker(); }

    PageShell shell_;
    Game game_;
    GlFunctions gl_;
    SceneDrawer drawer_;
    GlFunctions pictureGl_;
    SceneDrawer pictureDrawer_;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_ = 0;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE pictureContext_ = 0;
    bool started_ = false;
    int viewWidth_ = 1;
    int viewHeight_ = 1;
    int deviceWidth_ = 1;
    int deviceHeight_ = 1;
    std::uint32_t framesDrawn_ = 0;
    std::array<bool, static_cast<std::size_t>(Key::PageDown) + 1> held_{};

    std::string languageName_ = "English";
    Language language_ = Language::English;
    ViewOptions options_;
    Progress progress_;
    // The Load under way: whether the picker has answered, and with what.
    bool loadPending_ = false;
    std::optional<std::string> chosenLoad_;
    std::vector<Task> libraryTasks_;
    std::vector<std::string> libraryFiles_;
    std::optional<std::string> chosenLibraryTask_;
    std::string saveName_ = kDefaultSaveName;
    std::string savePath_;
};
void PageShell::repaintNow()
{
    page_.paint();
}

void PageShell::showSuccessMessage()
{
    page_.recordCompletion();
    showNotice(successNotice(page_.language()));
}

void PageShell::refreshMenuState()
{
    page_.refreshMenus();
}

void PageShell::showTaskFileError(const TaskFileError& error)
{
    showNotice(describeTaskFileError(error, page_.language()));
}

std::optional<std::string> PageShell::chooseTaskFileToLoad()
{
    return page_.takeChosenLoad();
}

std::optional<std::string> PageShell::chooseTaskFileToSave()
{
    return page_.saveTarget();
}

void PageShell::showHint(const Hint& hint)
{
    if (const std::optional<Notice> notice = hintNotice(hint, page_.game().view.palette(), page_.language()))
        showNotice(*notice);
}

void PageShell::runShellCommand(Command command)
{
    page_.runShellCommand(command);
}

std::unique_ptr<Page> thePage;

// The seed from the page's address (?seed=N), else the time, as VOKTA_SEED
// on the desktop.
unsigned chooseSeed(int argc, char* argv[])
{
    if (argc > 1) {
        const std::string_view text = argv[1];
        unsigned seed = 0;
        const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
        if (!text.empty() && error == std::errc() && stop == text.data() + text.size())
            return seed;
        std::fprintf(stderr,
                     "vokta: seed \"%s\" is not a whole number from 0 to 4294967295; "
                     "the pieces are scattered by the time\n",
                     argv[1]);
    }
    return static_cast<unsigned>(std::time(nullptr));
}

// Message kinds as vokta-page.js numbers them.
constexpr std::array<WindowMessage::Kind, 4> kMouseKinds = {
    WindowMessage::Kind::ButtonDown,
    WindowMessage::Kind::ButtonUp,
    WindowMessage::Kind::MouseMove,
    WindowMessage::Kind::DoubleClick,
};

}  // namespace

}  // namespace vokta::web

using vokta::web::thePage;

namespace {

// The scatter's seed, chosen as the page loads.
unsigned seed = 0;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int vokta_key_down(const char* key, int shift, int ctrl, int alt, int meta)
{
    return thePage && thePage->keyDown(key, shift != 0, ctrl != 0, alt != 0, meta != 0) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void vokta_key_up(const char* key, int alt)
{
    if (thePage)
        thePage->keyUp(key, alt != 0);
}

EMSCRIPTEN_KEEPALIVE void vokta_focus_lost()
{
    if (thePage)
        thePage->focusLost();
}

EMSCRIPTEN_KEEPALIVE void vokta_mouse(int kind, int x, int y, int button, int buttons, int shift, int ctrl)
{
    if (thePage && kind >= 0 && kind < static_cast<int>(vokta::web::kMouseKinds.size()))
        thePage->mouse(vokta::web::kMouseKinds[static_cast<std::size_t>(kind)], x, y, button, buttons, shift != 0,
                       ctrl != 0);
}

EMSCRIPTEN_KEEPALIVE void vokta_resize()
{
    if (thePage && thePage->started()) {
        thePage->fitToCanvas();
        thePage->paint();
    }
}

// The browser storage's values (null where nothing is stored), before START.
EMSCRIPTEN_KEEPALIVE void vokta_settings(const char* language, const char* colours, const char* numbers,
                                         const char* progress)
{
    if (thePage)
        thePage->applyStoredSettings(language, colours, numbers, progress);
}

// START in the start dialog (or at once, as the address asks).
EMSCRIPTEN_KEEPALIVE void vokta_start()
{
    if (thePage)
        thePage->start(seed);
}

// The menu bar, dialogs and help in the interface's language, as JSON.
EMSCRIPTEN_KEEPALIVE const char* vokta_shell_texts()
{
    static std::string texts;
    texts = thePage ? thePage->texts() : std::string("null");
    return texts.c_str();
}

// A menu item chosen; help is 1 when F1 asked for its help instead.
EMSCRIPTEN_KEEPALIVE void vokta_menu_command(int command, int help)
{
    if (thePage)
        thePage->menuCommand(static_cast<vokta::Command>(command), help != 0);
}

// What the file picker gave for Load: a path in the page's file system, or null.
EMSCRIPTEN_KEEPALIVE void vokta_load_chosen(const char* path)
{
    if (thePage)
        thePage->loadChosen(path);
}

EMSCRIPTEN_KEEPALIVE int vokta_draw_library_picture(int index)
{
    return thePage && thePage->drawLibraryPicture(index) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void vokta_library_chosen(int index)
{
    if (thePage)
        thePage->libraryChosen(index);
}

// The game in view, as JSON: whether it has started, the selection, the
// falling pieces, whether the task is reported complete, the ticks.
EMSCRIPTEN_KEEPALIVE const char* vokta_status()
{
    static std::string status;
    status = thePage ? thePage->status() : std::string("null");
    return status.c_str();
}

}  // extern "C"

int main(int argc, char* argv[])
{
    const std::string broken = vokta::verifyModelFile(std::string(vokta::web::kModelDirectory) + "/vokta.x");
    if (!broken.empty()) {
        std::fprintf(stderr, "vokta: %s\n", broken.c_str());
        vokta::web::showPageMessage("Error", broken.c_str());
        return 2;
    }
    seed = vokta::web::chooseSeed(argc, argv);
    thePage = std::make_unique<vokta::web::Page>();
    if (!thePage->open())
        thePage.reset();
    return 0;
}
