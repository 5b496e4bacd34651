// Property access of the engine's controls on child windows.
#include "win32_controls.h"

#include "runtime_error.h"
#include "win32_text.h"

#include <cmath>

namespace win32 {

WindowControl::WindowControl(HWND hwnd, const forms::ControlDef& definition)
    : m_hwnd(hwnd)
    , m_hasCaption(definition.kind == forms::ControlKind::Label)
    , m_top(static_cast<float>(definition.top))
    , m_left(static_cast<float>(definition.left))
    , m_visible(definition.visible)
    , m_caption(definition.caption)
{
}

void WindowControl::place()
{
    // Far-off positions are legal twips but not coordinates a window can take; those stay unshown.
    constexpr double kLimit = 30'000;
    const double x = std::round(forms::pixelsFromTwips(m_left));
    const double y = std::round(forms::pixelsFromTwips(m_top));
    if (std::abs(x) < kLimit && std::abs(y) < kLimit)
        SetWindowPos(m_hwnd, nullptr, static_cast<int>(x), static_cast<int>(y), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowControl::setTop(float twips)
{
    m_top = twips;
    place();
}

void WindowControl::setLeft(float twips)
{
    m_left = twips;
    place();
}

void WindowControl::setVisible(bool visible)
{
    m_visible = visible;
    ShowWindow(m_hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void WindowControl::setCaption(std::string_view caption)
{
    if (!m_hasCaption)
        throw game::RuntimeError::propertyNotSupported();
    // The score is rewritten on every pellet tick; an unchanged text must not repaint.
    if (caption == m_caption)
        return;
    m_caption = caption;
    SetWindowTextW(m_hwnd, widen(caption).c_str());
}

void WindowControl::setEnabled(bool enabled) { EnableWindow(m_hwnd, enabled); }

} // namespace win32
