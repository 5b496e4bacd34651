// The game as shipped but for its random source: the monster's draws come from the command line,
// cycled, so that a test knows where the monster walks.
//
//   glouto_scripted.exe <draw> [<draw>...]     each draw in [0, 1)
#include "tests/support/command_line_draws.h"
#include "ui/app/app.h"
#include "ui/app/errors.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_text.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    support::CommandLineDraws draws(__argc, __argv);
    if (draws.empty())
        return 2;
    try {
        win32::FrontEnd frontEnd(instance);
        app::App app(frontEnd, draws);
        app.start();
        return frontEnd.run(app);
    } catch (const std::exception& error) {
        win32::fatal(app::errorReport(error));
    }
}
