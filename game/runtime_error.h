// The engine's one kind of failure: a numbered runtime error with its French text.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace game {

// Numbers follow the classic runtime's so that a report reads the way players of the
// original platform know it.
enum class ErrorNumber : int {
    Overflow = 6,
    Internal = 51,
    ObjectRequired = 424,
    PropertyNotSupported = 438,
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorNumber number, const std::string& text)
        : std::runtime_error(text), m_number(number) {}

    ErrorNumber number() const { return m_number; }

    static RuntimeError overflow() { return {ErrorNumber::Overflow, "Dépassement de capacité"}; }
    static RuntimeError objectRequired(const std::string& name)
    {
        return {ErrorNumber::ObjectRequired, "Objet requis : " + name};
    }
    static RuntimeError propertyNotSupported() { return {ErrorNumber::PropertyNotSupported, "Propriété ou méthode non gérée par cet objet"}; }

    // The report a player sees: the error's number and its text.
    std::string report() const
    {
        return "Erreur d'exécution '" + std::to_string(static_cast<int>(m_number)) + "':\n\n" + what();
    }

private:
    ErrorNumber m_number;
};

// Runs one event handler at a front end's edge: the report of the error it raised, if any. Nothing
// the rules throw escapes through a toolkit's event loop.
inline std::optional<std::string> runHandler(const std::function<void()>& handler)
{
    try {
        handler();
        return std::nullopt;
    } catch (const RuntimeError& error) {
        return error.report();
    } catch (const std::exception& error) {
        return RuntimeError(ErrorNumber::Internal, std::string("Erreur interne : ") + error.what()).report();
    }
}

} // namespace game
