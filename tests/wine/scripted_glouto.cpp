// The game as shipped but for its random source and its controller: the monster's draws come from
// the command line, cycled, so that a test knows where the monster walks; with --pad, XInput's
// first slot reads a file the test writes, and the program is told of the pad coming as Windows
// tells it of a real one.
//
//   glouto_scripted.exe [--pad FILE] <draw> [<draw>...]     each draw in [0, 1)
//
// FILE holds "none" (no pad) or the pad's pressed buttons: any of up, down, left, right, a.
#include "tests/support/command_line_draws.h"
#include "ui/app/app.h"
#include "ui/app/errors.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_text.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

std::string g_padFile;

// The pad as the file says, or nothing.
bool readPad(XINPUT_STATE& state)
{
    std::ifstream file(g_padFile);
    std::string word;
    std::stringstream words;
    words << file.rdbuf();
    WORD buttons = 0;
    while (words >> word) {
        if (word == "none")
            return false;
        buttons |= word == "up" ? XINPUT_GAMEPAD_DPAD_UP : word == "down" ? XINPUT_GAMEPAD_DPAD_DOWN
                 : word == "left" ? XINPUT_GAMEPAD_DPAD_LEFT : word == "right" ? XINPUT_GAMEPAD_DPAD_RIGHT
                 : word == "a" ? XINPUT_GAMEPAD_A : 0;
    }
    state = {};
    state.Gamepad.wButtons = buttons;
    return true;
}

DWORD WINAPI scriptedGetState(DWORD slot, XINPUT_STATE* state)
{
    return slot == 0 && readPad(*state) ? ERROR_SUCCESS : ERROR_DEVICE_NOT_CONNECTED;
}

// Windows tells the program of a game pad arriving; this stands in for it when the file's pad does.
void watchPadArrivals()
{
    bool was = false;
    for (;;) {
        XINPUT_STATE state;
        const bool is = readPad(state);
        if (is && !was)
            if (HWND sink = FindWindowExW(HWND_MESSAGE, nullptr, L"GloutoControllers", nullptr))
                PostMessageW(sink, WM_INPUT_DEVICE_CHANGE, GIDC_ARRIVAL, 0);
        was = is;
        Sleep(100);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int first = 1;
    if (__argc > 2 && std::string(__argv[1]) == "--pad") {
        g_padFile = __argv[2];
        first = 3;
    }
    support::CommandLineDraws draws(__argc - first + 1, __argv + first - 1);
    if (draws.empty())
        return 2;
    try {
        win32::FrontEnd frontEnd(instance, g_padFile.empty() ? nullptr : scriptedGetState);
        if (!g_padFile.empty())
            std::thread(watchPadArrivals).detach();
        app::App app(frontEnd, draws);
        app.start();
        return frontEnd.run(app);
    } catch (const std::exception& error) {
        win32::fatal(app::errorReport(error));
    }
}
