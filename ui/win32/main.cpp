// Glouto for Windows: starts with the main window and ends when the last window is gone.
#include "runtime_error.h"
#include "win32_app.h"
#include "win32_text.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try {
        win32::App app(instance);
        return app.run();
    } catch (const std::exception& error) {
        win32::fatal(game::RuntimeError(game::ErrorNumber::Internal, std::string("Erreur interne : ") + error.what()).report());
    }
}
