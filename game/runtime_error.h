// The engine's one kind of failure: a numbered runtime error with its French text.
#pragma once

#include <stdexcept>
#include <string>

namespace game {

// Numbers follow the classic runtime's so that a report reads the way players of the
// original platform know it.
enum class ErrorNumber : int {
    Overflow = 6,
    Internal = 51,
    ObjectRequired = 424,
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorNumber number, const std::string& text)
        : std::runtime_error(text), m_number(number) {}

    ErrorNumber number() const { return m_number; }

    static RuntimeError overflow() { return {ErrorNumber::Overflow, "Dépassement de capacité"}; }

    // The report a player sees: the error's number and its text.
    std::string report() const
    {
        return "Erreur d'exécution '" + std::to_string(static_cast<int>(m_number)) + "':\n\n" + what();
    }

private:
    ErrorNumber m_number;
};

} // namespace game
