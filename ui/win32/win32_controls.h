// The engine's controls over child windows and tick timers.
#pragma once

#include "form_definition.h"
#include "platform.h"
#include "win32_timers.h"

#include <windows.h>

#include <string>

namespace win32 {

// A picture box, image or label. The position is kept in twips exactly as the rules wrote it; the
// window shows it rounded to whole pixels.
class WindowControl final : public game::Control {
public:
    WindowControl(HWND hwnd, const forms::ControlDef& definition);

    float top() const override { return m_top; }
    float left() const override { return m_left; }
    void setTop(float twips) override;
    void setLeft(float twips) override;
    bool visible() const override { return m_visible; }
    void setVisible(bool visible) override;
    void setCaption(std::string_view caption) override;
    void setEnabled(bool enabled) override;

private:
    void place();

    HWND m_hwnd;
    bool m_hasCaption;
    float m_top;
    float m_left;
    bool m_visible;
    std::string m_caption;
};

// A timer has none of the other properties: the engine's default refuses them.
class TimerControl final : public game::Control {
public:
    TimerControl(TickTimers& timers, std::size_t index) : m_timers(timers), m_index(index) {}
    void setEnabled(bool enabled) override { m_timers.setEnabled(m_index, enabled); }

private:
    TickTimers& m_timers;
    std::size_t m_index;
};

} // namespace win32
