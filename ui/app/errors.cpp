// Error texts, written once for every front end.
#include "ui/app/errors.h"

namespace app {

game::RuntimeError internalError(std::string_view what)
{
    return {game::ErrorNumber::Internal, "Erreur interne : " + std::string(what)};
}

game::RuntimeError objectRequired(std::string_view name)
{
    return {game::ErrorNumber::ObjectRequired, "Objet requis : " + std::string(name)};
}

game::RuntimeError missingPicture(std::string_view name)
{
    return {game::ErrorNumber::ObjectRequired, "Image introuvable : " + std::string(name)};
}

std::string errorReport(const std::exception& error)
{
    if (const auto* runtime = dynamic_cast<const game::RuntimeError*>(&error))
        return runtime->report();
    return internalError(error.what()).report();
}

std::optional<std::string> runHandler(const std::function<void()>& handler)
{
    try {
        handler();
        return std::nullopt;
    } catch (const std::exception& error) {
        return errorReport(error);
    }
}

} // namespace app
