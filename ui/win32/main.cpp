// Glouto for Windows: starts with the main window and ends when the last window is gone.
#include "ui/app/app.h"
#include "ui/app/clock_random.h"
#include "ui/app/errors.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_text.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try {
        win32::FrontEnd frontEnd(instance);
        app::ClockRandom random;
        app::App app(frontEnd, random);
        app.start();
        return frontEnd.run(app);
    } catch (const std::exception& error) {
        win32::fatal(app::errorReport(error));
    }
}
