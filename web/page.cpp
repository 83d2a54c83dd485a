// The browser edition's game: the scene drawn by WebGL 2 into the page's
// canvas, the page's keys and mouse turned into the game's window messages
// (as the desktop window turns Qt's), the 66 ms game tick and the render
// when the browser is about to paint. vokta-page.js hands the events in.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "puzzle/game.h"
#include "puzzle/game_tick.h"
#include "puzzle/hint.h"
#include "puzzle/messages.h"
#include "puzzle/routing.h"
#include "puzzle/scene_setup.h"
#include "render/gl/gl_functions.h"
#include "render/gl/scene_drawer.h"
#include "web/page_input.h"
#include "web/page_sound.h"

namespace vokta::web {

namespace {

constexpr const char* kCanvas = "#view";
constexpr const char* kModelDirectory = "/data";

// The page's side (vokta-page.js): its message box, and the count of frames drawn.
EM_JS(void, showPageMessage, (const char* caption, const char* text),
      { window.vokta.showMessage(UTF8ToString(caption), UTF8ToString(text)); });
EM_JS(void, noteFrameDrawn, (unsigned count), { window.vokta.frameDrawn(count); });

void showMessage(const std::string& caption, const std::string& text)
{
    showPageMessage(caption.c_str(), text.c_str());
}

class Page;

// What the rules ask of the window, done by the page. It has no menus yet,
// so the commands that only menus give (Load..., Save..., About, the help
// pages, the language and the library) never reach it.
class PageShell : public GameShell {
public:
    explicit PageShell(Page& page) : page_(page) {}

    void repaintNow() override;
    // A page cannot stop and wait; the fanfare's message follows at once.
    void pauseForFanfare() override {}
    void showSuccessMessage() override
    {
        const Notice notice = successNotice(Language::English);
        showMessage(notice.caption, notice.text);
    }
    void refreshMenuState() override {}
    void showTaskFileError(const TaskFileError& error) override
    {
        const Notice notice = describeTaskFileError(error);
        showMessage(notice.caption, notice.text);
    }
    std::optional<std::string> chooseTaskFileToLoad() override { return std::nullopt; }
    std::optional<std::string> chooseTaskFileToSave() override { return std::nullopt; }
    void showHint(const Hint& hint) override;
    void runShellCommand(Command) override {}

private:
    Page& page_;
};

class Page {
public:
    Page() : shell_(*this), game_(kModelDirectory, pageSound(), shell_), drawer_(gl_) {}

    // False, with the reason shown in the page, when WebGL 2 cannot be had.
    bool start(unsigned seed)
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
            showMessage("Error", "WebGL 2 not found");
            return false;
        }
        gl_ = linkedGlFunctions();
        if (std::string error; !drawer_.initialize(error)) {
            std::fprintf(stderr, "vokta: %s\n", error.c_str());
            showMessage("Error", "WebGL 2 not found");
            return false;
        }
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
        return true;
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

    void deliver(const WindowMessage& message) { MainWndProc(game_, message); }

    // Whether the game used the key, so the page does not scroll or act on it.
    bool keyDown(std::string_view name, bool shift, bool ctrl, bool alt, bool meta)
    {
        // Keys held with Alt belong to the browser.
        if (alt)
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

private:
    static bool isCameraKey(Key key) { return key >= Key::Left && key <= Key::PageDown; }

    PageShell shell_;
    Game game_;
    GlFunctions gl_;
    SceneDrawer drawer_;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_ = 0;
    int viewWidth_ = 1;
    int viewHeight_ = 1;
    int deviceWidth_ = 1;
    int deviceHeight_ = 1;
    std::uint32_t framesDrawn_ = 0;
    std::array<bool, static_cast<std::size_t>(Key::PageDown) + 1> held_{};
};

void PageShell::repaintNow()
{
    page_.paint();
}

void PageShell::showHint(const Hint& hint)
{
    if (const std::optional<Notice> notice = hintNotice(hint, page_.game().view.palette(), Language::English))
        showMessage(notice->caption, notice->text);
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
    if (thePage) {
        thePage->fitToCanvas();
        thePage->paint();
    }
}

}  // extern "C"

int main(int argc, char* argv[])
{
    const std::string broken = vokta::verifyModelFile(std::string(vokta::web::kModelDirectory) + "/vokta.x");
    if (!broken.empty()) {
        std::fprintf(stderr, "vokta: %s\n", broken.c_str());
        vokta::web::showMessage("Error", broken);
        return 2;
    }
    thePage = std::make_unique<vokta::web::Page>();
    if (!thePage->start(vokta::web::chooseSeed(argc, argv)))
        thePage.reset();
    return 0;
}
