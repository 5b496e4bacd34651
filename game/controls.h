// The main window's controls as the rules see them: which they are, and their properties as plain values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace game {

// What the rules touch of a control: a sprite's Top, Left and Visible, a pellet's Visible, a
// label's Caption, a timer's Enabled.
enum class ControlKind : std::uint8_t { Sprite, Pellet, Label, Timer };

// Every control whose properties the rules read or write, and nothing else: the one list that the
// ids, the names and the kinds below are made from.
#define GLOUTO_RULES_CONTROLS(X)                                                                              \
    X(Picture1, Sprite) X(Picture2, Sprite) X(Picture3, Sprite) X(Picture4, Sprite) X(Picture5, Sprite)       \
    X(Image3, Pellet) X(Image4, Pellet) X(Image5, Pellet) X(Image6, Pellet) X(Image7, Pellet)                \
    X(Image8, Pellet) X(Image9, Pellet) X(Image10, Pellet) X(Image11, Pellet) X(Image12, Pellet)             \
    X(Image13, Pellet) X(Image14, Pellet) X(Image15, Pellet) X(Image16, Pellet) X(Image17, Pellet)           \
    X(Label2, Label)                                                                                          \
    X(Timer1, Timer) X(Timer2, Timer) X(Timer3, Timer)

enum class ControlId : std::uint8_t {
#define GLOUTO_CONTROL_ID(name, kind) name,
    GLOUTO_RULES_CONTROLS(GLOUTO_CONTROL_ID)
#undef GLOUTO_CONTROL_ID
};

struct ControlInfo {
    // The control's name in the window definition.
    std::string_view name;
    ControlKind kind;
};

inline constexpr std::array kControls{
#define GLOUTO_CONTROL_INFO(name, kind) ControlInfo{#name, ControlKind::kind},
    GLOUTO_RULES_CONTROLS(GLOUTO_CONTROL_INFO)
#undef GLOUTO_CONTROL_INFO
};
inline constexpr std::size_t kControlCount = kControls.size();

constexpr std::size_t indexOf(ControlId id) { return static_cast<std::size_t>(id); }
constexpr ControlId controlAt(std::size_t index) { return static_cast<ControlId>(index); }
constexpr std::string_view controlName(ControlId id) { return kControls[indexOf(id)].name; }
constexpr ControlKind controlKind(ControlId id) { return kControls[indexOf(id)].kind; }
// The control of that definition name, if the rules touch one.
std::optional<ControlId> controlNamed(std::string_view name);

// Positions are twips in single precision, as the window stores them. A control uses only the
// fields its kind has.
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

    ControlState& operator[](ControlId id) { return states[indexOf(id)]; }
    const ControlState& operator[](ControlId id) const { return states[indexOf(id)]; }
    friend bool operator==(const Form1Controls&, const Form1Controls&) = default;
};

} // namespace game
