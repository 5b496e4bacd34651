// The form's window procedure: painting, commands, close box, activation and focus.
#include "win32_form.h"

#include "runtime_error.h"
#include "win32_text.h"
#include "win32_widgets.h"

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
    // Handlers run under the guard; this is only for a fault of the window code itself, which
    // must not unwind through Windows either.
    try {
        return self->handle(hwnd, message, wParam, lParam);
    } catch (const std::exception& error) {
        fatal(game::RuntimeError(game::ErrorNumber::Internal, std::string("Erreur interne : ") + error.what()).report());
    } catch (...) {
        fatal(game::RuntimeError(game::ErrorNumber::Internal, "Erreur interne").report());
    }
}

void FormWindow::run(const std::function<void()>& callback)
{
    if (callback)
        m_guard(callback);
}

std::string_view FormWindow::commandName(WPARAM wParam, LPARAM lParam) const
{
    const int id = LOWORD(wParam);
    if (lParam == 0) {
        const auto item = m_menuItems.find(id);
        return item == m_menuItems.end() ? std::string_view{} : item->second;
    }
    if (HIWORD(wParam) != BN_CLICKED)
        return {};
    const auto control = m_controlIds.find(id);
    if (control == m_controlIds.end())
        return {};
    const forms::ControlKind kind = control->second->kind;
    const bool button = kind == forms::ControlKind::Button || kind == forms::ControlKind::PictureButton;
    return button ? control->second->name : std::string_view{};
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
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(systemColourIndex(m_definition.background)));
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
        run([&] { drawPictureButton(item, m_pictures.get(def.picture), m_pictures.get(def.pressedPicture)); });
        return TRUE;
    }
    case WM_COMMAND:
        if (const std::string_view name = commandName(wParam, lParam); !name.empty() && m_callbacks.command)
            run([&] { m_callbacks.command(name); });
        return 0;
    case WM_CLOSE:
        run(m_callbacks.close);
        return 0;
    case WM_ACTIVATEAPP:
        if (!wParam)
            run(m_callbacks.appDeactivated);
        return 0;
    case WM_ACTIVATE:
        activated(hwnd, wParam);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        break;
    default:
        if (m_callbacks.message) {
            bool handled = false;
            run([&] { handled = m_callbacks.message(message, wParam, lParam); });
            if (handled)
                return 0;
        }
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace win32
