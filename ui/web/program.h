// The game in the page: one application over the browser front end, and the page's doors into it.
#pragma once

#include "game/sources.h"

#include <memory>

namespace web {

// Starts the program with its main window; the page's events drive it from then on.
void runProgram(std::unique_ptr<game::RandomSource> random);

} // namespace web
