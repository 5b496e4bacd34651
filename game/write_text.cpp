// A write as a property sheet shows it. Its own file: only tests and the null front end need it,
// and the streams it takes would otherwise be linked into every program.
#include "game/writes.h"

#include <cmath>
#include <sstream>

namespace game {
namespace {

// Whole twips print as integers, as the window's own property sheet shows them.
std::string twips(float value)
{
    if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 1e9f)
        return std::to_string(static_cast<long long>(value));
    std::ostringstream out;
    out.precision(9);
    out << value;
    return out.str();
}

const char* boolText(bool value) { return value ? "True" : "False"; }

} // namespace

std::string describe(const Write& write)
{
    const std::string property = std::visit(Overloaded{
                                                [](Top v) { return "Top=" + twips(v.twips); },
                                                [](Left v) { return "Left=" + twips(v.twips); },
                                                [](Visible v) { return std::string("Visible=") + boolText(v.shown); },
                                                [](Enabled v) { return std::string("Enabled=") + boolText(v.running); },
                                                [](const Caption& v) { return "Caption=" + std::string(v.text.view()); },
                                            },
                                            write.value);
    return std::string(controlName(write.control)) + "." + property;
}

} // namespace game
