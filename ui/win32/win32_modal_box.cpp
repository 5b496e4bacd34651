// Modal boxes over every game window, deferred past a menu the thread is tracking.
#include "ui/win32/win32_modal_box.h"

#include "ui/app/errors.h"
#include "ui/win32/win32_window_class.h"

#include <vector>

namespace win32 {
namespace {

constexpr wchar_t kSinkClass[] = L"GloutoBoxes";
constexpr UINT kShowPendingMessage = WM_APP + 3;

bool trackingMenu()
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    return GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE) != 0;
}

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
    return TRUE;
}

// A box that every window of the game waits for, not only its owner. The box disables its owner
// itself (and gives it the activation back), so that one is left to it.
void runBox(const std::wstring& text, const std::wstring& title, UINT style)
{
    HWND owner = GetActiveWindow();
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collectWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<HWND> disabled;
    for (HWND hwnd : windows)
        if (hwnd != owner && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
            EnableWindow(hwnd, FALSE);
            disabled.push_back(hwnd);
        }
    MessageBoxW(owner, text.c_str(), title.c_str(), style);
    for (HWND hwnd : disabled)
        if (IsWindow(hwnd))
            EnableWindow(hwnd, TRUE);
}

} // namespace

ModalBoxes::ModalBoxes(HINSTANCE instance)
{
    registerWindowClass(instance, kSinkClass, windowProc);
    m_sink = CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!m_sink)
        throw app::internalError("CreateWindowEx boxes");
    SetWindowLongPtrW(m_sink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ModalBoxes::~ModalBoxes() { DestroyWindow(m_sink); }

void ModalBoxes::show(std::wstring text, std::wstring title, UINT style, std::function<void()> closed)
{
    if (trackingMenu()) {
        // Ending a menu only asks its loop to stop; the posted message is taken once it has.
        EndMenu();
        m_pending.push_back({std::move(text), std::move(title), style, std::move(closed)});
        if (!PostMessageW(m_sink, kShowPendingMessage, 0, 0))
            throw app::internalError("PostMessage boxes");
        return;
    }
    runBox(text, title, style);
    closed();
}

LRESULT CALLBACK ModalBoxes::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ModalBoxes*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || message != kShowPendingMessage || self->m_pending.empty())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    Pending box = std::move(self->m_pending.front());
    self->m_pending.pop_front();
    self->show(std::move(box.text), std::move(box.title), box.style, std::move(box.closed));
    return 0;
}

} // namespace win32
