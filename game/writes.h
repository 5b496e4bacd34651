// The property writes a handler makes, each carrying its value, so that whoever shows the window can follow.
#pragma once

#include "game/controls.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace game {

// A caption's text held inline, so that a tick's writes never touch the heap and stay small. The
// rules write one caption, the score: its prefix and a 16-bit number ("-32768") just fit.
class CaptionText {
public:
    static constexpr std::size_t kCapacity = 26;

    CaptionText() = default;
    // Longer texts are a fault of the rules' code: std::length_error.
    explicit CaptionText(std::string_view text) { append(text); }
    CaptionText& append(std::string_view text);
    // The number's plain decimal form: digits only, a minus sign only if negative.
    CaptionText& appendNumber(int number);

    std::string_view view() const { return {m_chars.data(), m_size}; }
    friend bool operator==(const CaptionText& a, const CaptionText& b) { return a.view() == b.view(); }

private:
    std::array<char, kCapacity> m_chars;
    std::uint8_t m_size = 0;
};

// A property and the value written to it: twips for Top and Left.
struct Top {
    float twips;
    friend bool operator==(const Top&, const Top&) = default;
};
struct Left {
    float twips;
    friend bool operator==(const Left&, const Left&) = default;
};
struct Visible {
    bool shown;
    friend bool operator==(const Visible&, const Visible&) = default;
};
struct Enabled {
    bool running;
    friend bool operator==(const Enabled&, const Enabled&) = default;
};
struct Caption {
    CaptionText text;
    friend bool operator==(const Caption&, const Caption&) = default;
};
using PropertyValue = std::variant<Top, Left, Visible, Enabled, Caption>;

// A visitor of a property value made of one lambda per property.
template <class... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};
// Clang before 17 deduces no aggregate's template arguments by itself.
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

// One property write as it was made, and whether it changed what the control had.
struct Write {
    ControlId control;
    PropertyValue value;
    bool changed;
    friend bool operator==(const Write&, const Write&) = default;
};

// Stores the value in the controls; true when that changed the property. A NaN never equals
// itself: storing one always counts as a change, which is only safe.
inline bool store(Form1Controls& controls, ControlId control, Top value)
{
    float& top = controls[control].top;
    const bool changed = !(top == value.twips);
    top = value.twips;
    return changed;
}
inline bool store(Form1Controls& controls, ControlId control, Left value)
{
    float& left = controls[control].left;
    const bool changed = !(left == value.twips);
    left = value.twips;
    return changed;
}
inline bool store(Form1Controls& controls, ControlId control, Visible value)
{
    return std::exchange(controls[control].visible, value.shown) != value.shown;
}
inline bool store(Form1Controls& controls, ControlId control, Enabled value)
{
    return std::exchange(controls[control].enabled, value.running) != value.running;
}
// The rules write one caption, the score label's: any other control's is a fault of their code.
bool store(Form1Controls& controls, ControlId control, const Caption& value);
bool store(Form1Controls& controls, ControlId control, const PropertyValue& value);

// The write as a property sheet shows it: "Picture1.Top=670", "Image4.Visible=False".
std::string describe(const Write& write);

// The writes of one handler, in the order it made them, without touching the heap: a tick makes
// at most 24 (four steps of six writes; a capture makes at most 9).
class Writes {
public:
    static constexpr std::size_t kCapacity = 24;

    // Slots past the last write are never read, so they are neither made nor copied: a tick that
    // writes nothing costs nothing here.
    Writes() {}
    Writes(const Writes& other) { *this = other; }
    Writes& operator=(const Writes& other)
    {
        m_size = other.m_size;
        std::uninitialized_copy_n(other.begin(), m_size, m_slots.writes.data());
        return *this;
    }

    void add(const Write& write)
    {
        // The handlers' own shape bounds the count; passing it would be a fault of the rules' code.
        if (m_size == kCapacity)
            tooMany();
        std::construct_at(m_slots.writes.data() + m_size, write);
        ++m_size;
    }

    const Write* begin() const { return m_slots.writes.data(); }
    const Write* end() const { return m_slots.writes.data() + m_size; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

private:
    [[noreturn]] static void tooMany();

    // A write is trivially copyable and destructible, so unmade slots need no care.
    union Slots {
        Slots() {}
        std::array<Write, kCapacity> writes;
    } m_slots;
    std::size_t m_size = 0;
};

} // namespace game
