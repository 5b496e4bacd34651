// The game as shipped but for its random source: the monster's draws come from the command line,
// cycled, so that a test knows where the monster walks.
//
//   glouto_scripted.exe <draw> [<draw>...]     each draw in [0, 1)
#include "ui/app/app.h"
#include "ui/app/errors.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_text.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {

class ScriptedRandom final : public game::RandomSource {
public:
    explicit ScriptedRandom(std::vector<double> draws) : m_draws(std::move(draws)) {}
    void reseedFromClock() override {}
    double draw() override { return m_draws[m_next++ % m_draws.size()]; }

private:
    std::vector<double> m_draws;
    std::size_t m_next = 0;
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    std::vector<double> draws;
    for (int i = 1; i < __argc; ++i)
        draws.push_back(std::atof(__argv[i]));
    if (draws.empty())
        return 2;
    try {
        win32::FrontEnd frontEnd(instance);
        ScriptedRandom random(std::move(draws));
        app::App app(frontEnd, random);
        app.start();
        return frontEnd.run(app);
    } catch (const std::exception& error) {
        win32::fatal(app::errorReport(error));
    }
}
