// Glouto for Windows: starts with the main window and ends when the last window is gone.
#include "app.h"
#include "clock_random.h"
#include "runtime_error.h"
#include "win32_front_end.h"
#include "win32_text.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try {
        win32::FrontEnd frontEnd(instance);
        game::ClockRandom random;
        app::App app(frontEnd, random);
        app.start();
        return frontEnd.run(app);
    } catch (const std::exception& error) {
        win32::fatal(game::RuntimeError(game::ErrorNumber::Internal, std::string("Erreur interne : ") + error.what()).report());
    }
}
