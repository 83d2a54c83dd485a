// The browser edition's game: the scene drawn by WebGL 2 into the page's
// canvas, the page's keys, mouse and menus handed to the shell model (as the
// desktop window hands Qt's), the 66 ms game tick and the render when the
// browser is about to paint. vokta-page.js draws what the shell says around
// the view: the start dialog, the menu bar, the dialogs, the help and the
// library, and shows the browser's own file picker.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "play/json.h"
#include "puzzle/rules/task_code.h"
#include "puzzle/scene/model_check.h"
#include "puzzle/scene/task_picture.h"
#include "render/gl/gl_functions.h"
#include "render/gl/scene_drawer.h"
#include "shell/shell.h"
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
// A task is made in slices of about this long, so that the page answers
// between them.
constexpr double kMakingSliceMs = 8.0;

// The page's side (vokta-page.js).
EM_JS(void, showPageMessage, (const char* caption, const char* text),
      { window.vokta.showMessage(UTF8ToString(caption), UTF8ToString(text)); });
EM_JS(void, noteFrameDrawn, (unsigned count), { window.vokta.frameDrawn(count); });
EM_JS(void, showPageMenus, (const char* menus), { window.vokta.showMenus(JSON.parse(UTF8ToString(menus))); });
EM_JS(void, openPageHelp, (const char* page), { window.vokta.openHelp(UTF8ToString(page)); });
EM_JS(void, showPageHelpPopup, (int command, const char* html),
      { window.vokta.showHelpPopup(command, UTF8ToString(html)); });
EM_JS(void, showPageAbout, (), { window.vokta.showAbout(); });
EM_JS(void, openPageLibrary, (const char* listing), { window.vokta.openLibrary(JSON.parse(UTF8ToString(listing))); });
EM_JS(void, openPageLoadPicker, (), { window.vokta.openLoadPicker(); });
EM_JS(void, openPageDifficulty, (), { window.vokta.openDifficulty(); });
EM_JS(void, offerDownload, (const char* path, const char* name),
      { window.vokta.download(UTF8ToString(path), UTF8ToString(name)); });
EM_JS(void, notePageLanguage, (), { window.vokta.languageChanged(); });
EM_JS(void, speakInPage, (const char* spoken), { window.vokta.speak(JSON.parse(UTF8ToString(spoken))); });
EM_JS(void, showPageTaskCode, (const char* code), { window.vokta.showTaskCode(UTF8ToString(code)); });
EM_JS(void, askPageTaskCode, (), { window.vokta.askTaskCode(); });
// The browser's storage: a value kept under key (null, which the caller
// frees otherwise, when there is none or the storage cannot be read).
EM_JS(char*, readPageStorage, (const char* key), {
    try {
        const value = localStorage.getItem(UTF8ToString(key));
        return value == null ? 0 : allocateUTF8(value);
    } catch (error) {
        console.warn('vokta: browser storage ' + UTF8ToString(key) + ': not readable: ' + error.message);
        return 0;
    }
});
EM_JS(int, movePageStorage, (const char* from, const char* to), {
    try {
        const value = localStorage.getItem(UTF8ToString(from));
        if (value == null)
            return 0;
        localStorage.setItem(UTF8ToString(to), value);
        localStorage.removeItem(UTF8ToString(from));
        return 1;
    } catch (error) {
        console.warn('vokta: browser storage ' + UTF8ToString(from) + ': not set aside: ' + error.message);
        return 0;
    }
});
EM_JS(void, writePageStorage, (const char* key, const char* value), {
    try {
        localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
    } catch (error) {
        console.warn('vokta: browser storage ' + UTF8ToString(key) + ': not saved: ' + error.message);
    }
});

// A WebGL 2 context with a depth buffer and nothing else the scene does not use.
EmscriptenWebGLContextAttributes webGl2Attributes(bool antialias)
{
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = antialias ? EM_TRUE : EM_FALSE;
    return attributes;
}

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The browser's storage holds text: a kept game's bytes go there in base64.
std::string toBase64(std::string_view bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = 0;
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0);
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= count ? kBase64[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return text;
}

// Nothing, for text that is no base64.
std::optional<std::string> fromBase64(std::string_view text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        int padding = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            const std::size_t value = kBase64.find(c);
            if (c == '=' && i + 4 == text.size() && k >= 2) {
                ++padding;
                group <<= 6;
                continue;
            }
            if (value == std::string_view::npos || padding > 0)
                return std::nullopt;
            group = (group << 6) | static_cast<std::uint32_t>(value);
        }
        for (int k = 0; k < 3 - padding; ++k)
            bytes += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
    }
    return bytes;
}

// The last part of a path in the page's file system.
std::string fileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

// What the game keeps between visits, in the browser's storage.
class PageStore : public ShellStore {
public:
    std::optional<std::string> read(Stored what) override
    {
        const std::string key(storedName(what).pageKey);
        char* value = readPageStorage(key.c_str());
        if (!value)
            return std::nullopt;
        std::string text(value);
        std::free(value);
        if (what != Stored::Game)
            return text;
        // Text that is no base64 is a damaged game, as the shell will find.
        return fromBase64(text).value_or(text);
    }

    void write(Stored what, std::string_view value) override
    {
        const std::string text = what == Stored::Game ? toBase64(value) : std::string(value);
        writePageStorage(std::string(storedName(what).pageKey).c_str(), text.c_str());
    }

    std::string describe(Stored what) const override
    {
        return "browser storage " + std::string(storedName(what).pageKey);
    }

    std::string setAside(Stored what) override
    {
        const std::string key(storedName(what).pageKey);
        const std::string aside = key + ".set-aside";
        return movePageStorage(key.c_str(), aside.c_str()) ? "browser storage " + aside : std::string();
    }
};

class Page : public ShellView {
public:
    Page()
        : shell_(kModelDirectory, kLibraryFolder, pageSound(), *this, store_), drawer_(gl_), pictureDrawer_(pictureGl_)
    {
    }

    // False, with the reason shown in the page, when WebGL 2 cannot be had.
    bool open()
    {
        // As on the desktop without graphics hardware: no multisampling, so
        // the two draw the same pixels.
        const EmscriptenWebGLContextAttributes attributes = webGl2Attributes(false);
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

    // START: the scene scattered by seed, the tick and the render.
    void start(unsigned seed)
    {
        if (shell_.started())
            return;
        fitToCanvas();
        shell_.start(seed);
        paint();
        emscripten_set_interval([](void* page) { static_cast<Page*>(page)->shell_.tick(); }, kTickMs, this);
        emscripten_request_animation_frame_loop(
            [](double, void* page) {
                static_cast<Page*>(page)->renderWhenIdle();
                return EM_TRUE;
            },
            this);
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
        shell_.game().scene().setViewSize(viewWidth_, viewHeight_);
    }

    void drawFrame()
    {
        Scene& scene = shell_.game().scene();
        emscripten_webgl_make_context_current(context_);
        drawer_.draw(*scene.sceneFrame(), scene.viewport(), scene.background(), deviceWidth_, deviceHeight_);
        ++framesDrawn_;
        noteFrameDrawn(framesDrawn_);
    }

    // Draws at once and marks the scene as drawn.
    void paint()
    {
        drawFrame();
        shell_.game().scene().sceneDirty = false;
    }

    void renderWhenIdle()
    {
        shell_.renderWhenIdle([this](float) { drawFrame(); });
    }

    // Draws task index of the library dialog open into the picture canvas;
    // false when the picture canvas has no WebGL 2 either.
    bool drawLibraryPicture(int index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= library_.size() || !openPictureContext())
            return false;
        // In device pixels, as the view is drawn, so that it is sharp at any pixel ratio.
        const double ratio = emscripten_get_device_pixel_ratio();
        const int deviceWidth = static_cast<int>(std::lround(kTaskPictureWidth * ratio));
        const int deviceHeight = static_cast<int>(std::lround(kTaskPictureHeight * ratio));
        emscripten_set_canvas_element_size(kPictureCanvas, deviceWidth, deviceHeight);
        emscripten_webgl_make_context_current(pictureContext_);
        TaskPictureScene picture(kModelDirectory, library_[static_cast<std::size_t>(index)].task,
                                 shell_.game().view().palette().background);
        picture.scene.setViewSize(kTaskPictureWidth, kTaskPictureHeight);
        pictureDrawer_.draw(*picture.scene.sceneFrame(), picture.scene.viewport(), picture.scene.background(),
                            deviceWidth, deviceHeight);
        emscripten_webgl_make_context_current(context_);
        return true;
    }

    // The library dialog closed: the task chosen, or -1 when it was cancelled.
    void libraryChosen(int index)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= library_.size()) {
            shell_.fileChosen(Command::Library, std::nullopt);
            return;
        }
        const std::string file = library_[static_cast<std::size_t>(index)].file;
        library_.clear();
        chosen(Command::Library, ChosenFile{file});
    }

    // The file picker of Load answered: the file's name and bytes, or
    // nothing when the player cancelled.
    void loadChosen(std::optional<ChosenFile> file) { chosen(Command::Load, std::move(file)); }

    // Random task's dialog closed: the difficulty chosen, or nothing when it was cancelled.
    void difficultyChosen(std::optional<Difficulty> difficulty) { shell_.difficultyChosen(difficulty); }

    // window.vokta.daily: the task of a day as a file's bytes, or why there is none.
    std::string dailyJson(std::string_view text)
    {
        const DateRead read = readDate(text);
        if (!read.date)
            return play::Json::object()
                .set("problem",
                     play::Json::string("\"" + std::string(text) + "\": " + std::string(dateProblemText(read.problem))))
                .text();
        const std::optional<Task> task =
            vokta::makeTask({.kind = TaskRequest::Kind::Daily, .date = *read.date}, shell_.libraryShapes());
        if (!task)
            return play::Json::object().set("problem", play::Json::string("no task could be made")).text();
        play::Json bytes = play::Json::array();
        for (const unsigned char byte : encodeTask(*task))
            bytes.push(play::Json::integer(byte));
        return play::Json::object().set("bytes", std::move(bytes)).text();
    }

    // A code or a link: Open task code...'s answer, or the address's #task=.
    // Save then names the task after its code.
    void openTaskCode(const std::string& text)
    {
        if (shell_.openTaskCode(text))
            saveName_ = std::string(taskCodeInLink(text)) + ".tsk";
    }

    // What a test or a bug report may want to know of the game in view.
    std::string status() const
    {
        const GameState& state = shell_.game().state();
        int falling = 0;
        for (int i = 0; i < state.inPlay(); ++i)
            falling += state.piece(i).falling ? 1 : 0;
        return play::Json::object()
            .set("started", play::Json::boolean(shell_.started()))
            .set("selected", play::Json::integer(state.selected))
            .set("falling", play::Json::integer(falling))
            .set("taskCompleted", play::Json::boolean(state.taskCompleted))
            .set("ticks", play::Json::integer(shell_.game().tickCount()))
            .set("task", play::Json::string(saveName_))
            .set("cameraDistance", play::Json::number(modulus(shell_.game().view().camera.position())))
            .text();
    }

    Shell& shell() { return shell_; }

    // ShellView
    void menusChanged() override { showPageMenus(menusJson(shell_.menuBar()).c_str()); }
    void showNotice(const Notice& notice) override { showPageMessage(notice.caption.c_str(), notice.text.c_str()); }
    void repaintNow() override { paint(); }
    // A page cannot stop and wait; the fanfare's message follows at once.
    void pauseForFanfare() override {}
    void showHelp(Command topic) override { openPageHelp(std::string(helpPage(topic)).c_str()); }
    void showHelpPopup(Command command, std::string_view html) override
    {
        showPageHelpPopup(static_cast<int>(command), std::string(html).c_str());
    }
    void showAbout() override { showPageAbout(); }

    void pickTaskFile(Command command) override
    {
        if (command == Command::Load) {
            openPageLoadPicker();
            return;
        }
        // Save writes into the page's file system; the browser then
        // downloads it under the name of the task last loaded.
        mkdir(kSaveFolder, 0755);
        const std::string path = std::string(kSaveFolder) + "/" + saveName_;
        shell_.fileChosen(Command::Save, ChosenFile{path});
        struct stat written {};
        if (stat(path.c_str(), &written) == 0 && S_ISREG(written.st_mode))
            offerDownload(path.c_str(), saveName_.c_str());
    }

    void pickLibraryTask(const std::vector<LibraryEntry>& tasks) override
    {
        library_ = tasks;
        openPageLibrary(libraryJson(tasks).c_str());
    }

    void optionChanged(Stored option) override
    {
        if (option == Stored::Language)
            notePageLanguage();
    }

    void announce(const Spoken& spoken) override { speakInPage(spokenJson(spoken).c_str()); }

    void pickDifficulty() override { openPageDifficulty(); }

    // Tasks are made in slices between the browser's other work, one order
    // after another.
    void makeTask(std::shared_ptr<TaskOrder> order) override
    {
        orders_.push_back(std::move(order));
        scheduleMaking();
    }

    void showTaskCode(std::string_view code) override { showPageTaskCode(std::string(code).c_str()); }
    void askTaskCode() override { askPageTaskCode(); }

private:
    void scheduleMaking()
    {
        if (makingScheduled_ || orders_.empty())
            return;
        makingScheduled_ = true;
        emscripten_set_timeout([](void* page) { static_cast<Page*>(page)->makeSlice(); }, 0, this);
    }

    void makeSlice()
    {
        makingScheduled_ = false;
        const std::shared_ptr<TaskOrder> order = orders_.front();
        const double until = emscripten_get_now() + kMakingSliceMs;
        bool done = false;
        while (!done && emscripten_get_now() < until)
            done = order->work(1);
        if (done) {
            orders_.pop_front();
            // Saved, a made task is named after what it was made from.
            if (order->purpose() == TaskOrder::Purpose::Play && order->generator().task())
                saveName_ = taskRequestName(order->generator().request());
            shell_.taskMade(*order);
        }
        scheduleMaking();
    }

    void chosen(Command command, const std::optional<ChosenFile>& file)
    {
        if (file)
            saveName_ = fileNameOf(file->path);
        shell_.fileChosen(command, file);
    }

    bool openPictureContext()
    {
        if (pictureContext_ > 0)
            return true;
        // Smooth edges, as the desktop's pictures have.
        EmscriptenWebGLContextAttributes attributes = webGl2Attributes(true);
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

    PageStore store_;
    Shell shell_;
    GlFunctions gl_;
    SceneDrawer drawer_;
    GlFunctions pictureGl_;
    SceneDrawer pictureDrawer_;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_ = 0;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE pictureContext_ = 0;
    int viewWidth_ = 1;
    int viewHeight_ = 1;
    int deviceWidth_ = 1;
    int deviceHeight_ = 1;
    std::uint32_t framesDrawn_ = 0;
    // The library dialog open, whose pictures are drawn and whose choice comes back by index.
    std::vector<LibraryEntry> library_;
    std::string saveName_ = kDefaultSaveName;
    std::deque<std::shared_ptr<TaskOrder>> orders_;
    bool makingScheduled_ = false;
};

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
    return thePage &&
            thePage->shell().keyDown(vokta::web::strokeFromDom(key, shift != 0, ctrl != 0, alt != 0, meta != 0))
        ? 1
        : 0;
}

EMSCRIPTEN_KEEPALIVE void vokta_key_up(const char* key, int shift, int ctrl, int alt, int meta)
{
    if (thePage)
        thePage->shell().keyUp(vokta::web::strokeFromDom(key, shift != 0, ctrl != 0, alt != 0, meta != 0));
}

EMSCRIPTEN_KEEPALIVE void vokta_focus_lost()
{
    if (thePage)
        thePage->shell().keyboardLost();
}

// kind: an index into the table's mouse kinds (pageTableJson).
EMSCRIPTEN_KEEPALIVE void vokta_mouse(int kind, int x, int y, int domButton, int domButtons, int shift, int ctrl)
{
    using vokta::WindowMessage;
    if (!thePage || kind < 0 || kind >= static_cast<int>(std::size(vokta::web::kPageMouseKinds)))
        return;
    const WindowMessage::Kind messageKind = vokta::web::kPageMouseKinds[static_cast<std::size_t>(kind)];
    const int button = vokta::web::buttonFromDom(domButton);
    if (messageKind != WindowMessage::Kind::MouseMove && button == 0)
        return;
    WindowMessage message{.kind = messageKind, .x = x, .y = y};
    message.keys = vokta::web::mouseKeysFromDom(domButtons, shift != 0, ctrl != 0);
    message.button = messageKind == WindowMessage::Kind::MouseMove ? 0 : button;
    thePage->shell().mouse(message);
}

// The page is going away, or out of sight: the game is kept as it stands.
EMSCRIPTEN_KEEPALIVE void vokta_keep()
{
    if (thePage)
        thePage->shell().keepGame();
}

// A pinch: the camera closer by units (farther for a negative number).
EMSCRIPTEN_KEEPALIVE void vokta_zoom(double units)
{
    if (thePage)
        thePage->shell().zoom(static_cast<float>(units));
}

EMSCRIPTEN_KEEPALIVE void vokta_resize()
{
    if (thePage && thePage->shell().started()) {
        thePage->fitToCanvas();
        thePage->paint();
    }
}

// START in the start dialog (or at once, as the address asks).
EMSCRIPTEN_KEEPALIVE void vokta_start()
{
    if (thePage)
        thePage->start(seed);
}

// The dialogs' words in the interface's language, as JSON.
EMSCRIPTEN_KEEPALIVE const char* vokta_words()
{
    static std::string words;
    words = thePage ? vokta::web::wordsJson(thePage->shell().language()) : std::string("null");
    return words.c_str();
}

// The menus as they stand, as JSON (the page is told again whenever they change).
EMSCRIPTEN_KEEPALIVE void vokta_show_menus()
{
    if (thePage)
        thePage->menusChanged();
}

// The numbers and names the page hands back, as JSON (see pageTableJson).
EMSCRIPTEN_KEEPALIVE const char* vokta_table()
{
    static const std::string table = vokta::web::pageTableJson();
    return table.c_str();
}

// The day today's task is of, from the page's address (?today=YYYY-MM-DD)
// instead of the clock; one that is no day is named on the console.
EMSCRIPTEN_KEEPALIVE void vokta_set_today(const char* text)
{
    if (!thePage)
        return;
    const vokta::DateRead read = vokta::readDate(text);
    if (!read.date) {
        std::fprintf(stderr, "vokta: today \"%s\" is %s; the day is taken from the clock\n", text,
                     std::string(vokta::dateProblemText(read.problem)).c_str());
        return;
    }
    thePage->shell().setToday([date = *read.date] { return date; });
}

// A menu item chosen; help is 1 when F1 asked for its help instead.
EMSCRIPTEN_KEEPALIVE void vokta_menu_command(int command, int help)
{
    if (!thePage)
        return;
    if (help != 0)
        thePage->shell().askHelp(static_cast<vokta::Command>(command));
    else
        thePage->shell().choose(static_cast<vokta::Command>(command));
}

// What the file picker of Load gave: the file's name and size bytes at
// data, or a null name when the player cancelled.
EMSCRIPTEN_KEEPALIVE void vokta_load_chosen(const char* name, const unsigned char* data, int size)
{
    if (!thePage)
        return;
    if (!name) {
        thePage->loadChosen(std::nullopt);
        return;
    }
    thePage->loadChosen(vokta::ChosenFile{name, std::vector<unsigned char>(data, data + std::max(size, 0))});
}

// Random task's dialog closed on the difficulty at index of kDifficulties,
// or -1 when it was cancelled.
EMSCRIPTEN_KEEPALIVE void vokta_difficulty_chosen(int index)
{
    if (!thePage)
        return;
    const bool chosen = index >= 0 && index < static_cast<int>(vokta::kDifficulties.size());
    thePage->difficultyChosen(chosen ? std::optional(vokta::kDifficulties[static_cast<std::size_t>(index)])
                                     : std::nullopt);
}

// The task of a day, YYYY-MM-DD, as JSON: {bytes: [...]} or {problem}.
EMSCRIPTEN_KEEPALIVE const char* vokta_daily(const char* date)
{
    static std::string answer;
    answer = thePage ? thePage->dailyJson(date) : std::string("null");
    return answer.c_str();
}

// A task code or link to open: what Open task code... was given, or the
// page's address with #task=.
EMSCRIPTEN_KEEPALIVE void vokta_open_task_code(const char* text)
{
    if (thePage && text)
        thePage->openTaskCode(text);
}

EMSCRIPTEN_KEEPALIVE int vokta_draw_library_picture(int index)
{
    return thePage && thePage->drawLibraryPicture(index) ? 1 : 0;
}

// The library dialog closed on task index, or -1 when it was cancelled.
EMSCRIPTEN_KEEPALIVE void vokta_library_chosen(int index)
{
    if (thePage)
        thePage->libraryChosen(index);
}

// The game in view, as JSON: whether it has started, the selection, the
// falling pieces, whether the task is reported complete, the ticks, and the
// name the task last loaded goes by (and Save downloads it under).
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
    // The player's own game is kept and continued; a scatter asked for by
    // its seed (?seed=N) is a throwaway one.
    thePage->shell().setKeepingGame(argc <= 1);
    if (!thePage->open())
        thePage.reset();
    return 0;
}
