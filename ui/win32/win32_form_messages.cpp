// The form's window procedure: painting, commands, close box, activation and focus.
#include "ui/win32/win32_form.h"

#include "ui/app/errors.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_widgets.h"

namespace win32 {

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    FormWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<FormWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    } else {
        self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    // The application layer guards the handlers; this is only for a fault of the window code
    // itself, which must not unwind through Windows either.
    try {
        return self->handle(hwnd, message, wParam, lParam);
    } catch (const std::exception& error) {
        fatal(app::errorReport(error));
    } catch (...) {
        fatal(app::internalError("exception inconnue").report());
    }
}

void FormWindow::command(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (lParam == 0) {
        if (const auto item = m_menuItems.find(id); item != m_menuItems.end())
            m_input.menuItemChosen(m_id, item->second);
        return;
    }
    const auto control = m_controlIds.find(id);
    if (HIWORD(wParam) != BN_CLICKED || control == m_controlIds.end())
        return;
    const forms::ControlKind kind = control->second->kind;
    if (kind == forms::ControlKind::Button || kind == forms::ControlKind::PictureButton)
        m_input.buttonClicked(m_id, control->second->name);
}

void FormWindow::activated(HWND hwnd, WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        // Coming back, the focus returns to the control that had it.
        if (HWND focus = GetFocus(); focus && IsChild(hwnd, focus))
            m_lastFocus = focus;
        return;
    }
    HWND target = m_lastFocus && IsWindow(m_lastFocus) && IsChild(hwnd, m_lastFocus) ? m_lastFocus : firstTabStop();
    SetFocus(target ? target : hwnd);
}

LRESULT FormWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush(m_definition.background));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        paintLines(dc, m_definition.lines, {});
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        // Labels and frame captions in the dialog face colour, readable on the black board too.
        auto* dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const auto control = m_controlIds.find(static_cast<int>(item.CtlID));
        if (item.CtlType != ODT_BUTTON || control == m_controlIds.end())
            break;
        const forms::ControlDef& def = *control->second;
        drawPictureButton(item, m_pictures.get(def.picture), m_pictures.get(def.pressedPicture));
        return TRUE;
    }
    case WM_COMMAND:
        command(wParam, lParam);
        return 0;
    case WM_CLOSE:
        // The window never closes on its own: the application layer decides.
        m_input.closeBoxClicked(m_id);
        return 0;
    case WM_ACTIVATEAPP:
        m_keyboard.focusChanged(wParam != 0);
        return 0;
    case WM_ACTIVATE:
        activated(hwnd, wParam);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace win32
