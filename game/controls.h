// The main window's controls as the rules see them: their properties as plain values, and the
// writes a handler reports so that whoever shows the window can follow.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace game {

// Every control whose properties the rules read or write, and nothing else.
enum class ControlId : std::uint8_t {
    Picture1, Picture2, Picture3, Picture4, Picture5,
    Image3, Image4, Image5, Image6, Image7, Image8, Image9, Image10,
    Image11, Image12, Image13, Image14, Image15, Image16, Image17,
    Label2,
    Timer1, Timer2, Timer3,
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Timer3) + 1;

// The control's name in the window definition.
std::string_view controlName(ControlId id);

enum class Property : std::uint8_t { Top, Left, Visible, Caption, Enabled };

// Positions are twips in single precision, as the window stores them. A control uses only the
// fields its kind has: pictures Top, Left and Visible, pellets Visible, timers Enabled.
struct ControlState {
    float top = 0;
    float left = 0;
    bool visible = false;
    bool enabled = false;
    friend bool operator==(const ControlState&, const ControlState&) = default;
};

// The properties of the main window's rule-touched controls, set from its definition at load.
struct Form1Controls {
    std::array<ControlState, kControlCount> states{};
    std::string label2Caption;

    ControlState& operator[](ControlId id) { return states[static_cast<std::size_t>(id)]; }
    const ControlState& operator[](ControlId id) const { return states[static_cast<std::size_t>(id)]; }
    friend bool operator==(const Form1Controls&, const Form1Controls&) = default;
};

// One property write as it was made: twips for Top and Left, 1 or 0 for Visible and Enabled; a
// caption's text is the one in Form1Controls (a tick writes it at most once).
struct Write {
    ControlId control;
    Property property;
    float value;
    friend bool operator==(const Write&, const Write&) = default;
};

// The writes of one handler, in the order it made them, without touching the heap: a tick makes
// at most 24 (four steps of six writes; a capture makes 23).
class Writes {
public:
    static constexpr std::size_t kCapacity = 24;

    // Slots past the last write are never read, so they are neither cleared nor copied: a tick
    // that writes nothing costs nothing here.
    Writes() {}
    Writes(const Writes& other) { *this = other; }
    Writes& operator=(const Writes& other)
    {
        m_size = other.m_size;
        std::copy_n(other.m_writes.begin(), m_size, m_writes.begin());
        return *this;
    }

    void add(Write write);

    const Write* begin() const { return m_writes.data(); }
    const Write* end() const { return m_writes.data() + m_size; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

private:
    std::array<Write, kCapacity> m_writes;
    std::size_t m_size = 0;
};

} // namespace game
