// Control names and the bounded write list.
#include "game/controls.h"

#include <stdexcept>

namespace game {

std::string_view controlName(ControlId id)
{
    static constexpr std::array<std::string_view, kControlCount> kNames{
        "Picture1", "Picture2", "Picture3", "Picture4", "Picture5",
        "Image3", "Image4", "Image5", "Image6", "Image7", "Image8", "Image9", "Image10",
        "Image11", "Image12", "Image13", "Image14", "Image15", "Image16", "Image17",
        "Label2",
        "Timer1", "Timer2", "Timer3",
    };
    return kNames[static_cast<std::size_t>(id)];
}

void Writes::add(Write write)
{
    // The handlers' own shape bounds the count; passing it would be a fault of the rules' code.
    if (m_size == kCapacity)
        throw std::logic_error("a handler made more writes than any tick can");
    m_writes[m_size++] = write;
}

} // namespace game
