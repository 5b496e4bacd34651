// The one program of the page and the functions the page's script calls for the player's input.
#include "ui/web/program.h"

#include "ui/app/app.h"
#include "ui/web/web_front_end.h"

#include <emscripten.h>

namespace web {
namespace {

struct Program {
    explicit Program(std::unique_ptr<game::RandomSource> source)
        : random(std::move(source)), application(frontEnd, *random)
    {
    }
    WebFrontEnd frontEnd;
    std::unique_ptr<game::RandomSource> random;
    app::App application;
};

// Lives as long as the page: a browser program never returns from its event loop.
Program* program = nullptr;

// The arrow keys' codes, for the page's sources of arrow keys other than the keyboard.
EM_JS(void, pageArrowKeys, (int left, int up, int right, int down), { Glouto.arrowKeys = {left, up, right, down}; });

// What the page's events go to, as every front end's do.
app::Input& input() { return program->application; }

} // namespace

void runProgram(std::unique_ptr<game::RandomSource> random)
{
    pageArrowKeys(static_cast<int>(game::ArrowKey::Left), static_cast<int>(game::ArrowKey::Up),
                  static_cast<int>(game::ArrowKey::Right), static_cast<int>(game::ArrowKey::Down));
    program = new Program(std::move(random));
    program->application.start();
}

} // namespace web

using web::program;
using web::input;

// The page calls these; each returns at once.
extern "C" {

EMSCRIPTEN_KEEPALIVE void glouto_menu_item(int window, int menu, int item)
{
    program->frontEnd.menuItemChosen(window, static_cast<std::size_t>(menu), static_cast<std::size_t>(item));
}

EMSCRIPTEN_KEEPALIVE void glouto_button(int window, int control)
{
    program->frontEnd.buttonClicked(window, static_cast<std::size_t>(control));
}

EMSCRIPTEN_KEEPALIVE void glouto_close_box(int window) { program->frontEnd.closeBoxClicked(window); }

EMSCRIPTEN_KEEPALIVE void glouto_tick(int timer) { program->frontEnd.tick(timer); }

EMSCRIPTEN_KEEPALIVE void glouto_box_closed(int box) { program->frontEnd.boxClosed(box); }

// Key codes of the page's key events are the platform's virtual-key codes; true for an arrow key.
EMSCRIPTEN_KEEPALIVE int glouto_key_down(int code, int autoRepeat)
{
    const auto key = app::ArrowKeyLatch::fromVirtualKey(code);
    if (key)
        input().keyDown(*key, autoRepeat != 0);
    return key.has_value();
}

EMSCRIPTEN_KEEPALIVE int glouto_key_up(int code)
{
    const auto key = app::ArrowKeyLatch::fromVirtualKey(code);
    if (key)
        input().keyUp(*key);
    return key.has_value();
}

EMSCRIPTEN_KEEPALIVE void glouto_focus_changed(int focused) { input().focusChanged(focused != 0); }

// A controller's cross (a bit each: up 1, down 2, left 4, right 8), left stick and face button.
EMSCRIPTEN_KEEPALIVE void glouto_controller_read(int controller, int cross, float stickX, float stickY, int face)
{
    input().controllerRead(controller, {.up = (cross & 1) != 0, .down = (cross & 2) != 0, .left = (cross & 4) != 0,
                                        .right = (cross & 8) != 0, .stickX = stickX, .stickY = stickY,
                                        .faceButton = face != 0});
}

EMSCRIPTEN_KEEPALIVE void glouto_controller_gone(int controller) { input().controllerGone(controller); }

} // extern "C"
