// The errors the layers above the rules raise, and the guard every handler runs through.
#pragma once

#include "game/runtime_error.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// Something the program itself failed at (a window system call, a bug): error 51 with what failed.
game::RuntimeError internalError(std::string_view what);
// A name the window does not have.
game::RuntimeError objectRequired(std::string_view name);
// A picture missing from the program's embedded resources.
game::RuntimeError missingPicture(std::string_view name);

// The report of any exception: a runtime error's own, anything else as an internal error.
std::string errorReport(const std::exception& error);

// Runs one handler: the report of the error it raised, if any. Nothing a handler throws escapes
// through a toolkit's event loop.
std::optional<std::string> runHandler(const std::function<void()>& handler);

} // namespace app
