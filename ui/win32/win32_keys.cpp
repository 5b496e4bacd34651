// The thread's message hook and the keyboard messages it reads.
#include "ui/win32/win32_keys.h"

#include "ui/app/arrow_key_latch.h"

namespace win32 {
namespace {

// One game thread, one keyboard.
thread_local Keyboard* t_keyboard = nullptr;

} // namespace

std::optional<ArrowKeyEvent> arrowKeyEvent(const MSG& message)
{
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    if (!down && !up)
        return std::nullopt;
    const auto key = app::ArrowKeyLatch::fromVirtualKey(static_cast<int>(message.wParam));
    if (!key)
        return std::nullopt;
    // Bit 30 of lParam: the key was already down.
    return ArrowKeyEvent{*key, down, down && (message.lParam & (1L << 30)) != 0};
}

Keyboard::Keyboard()
    : m_hook(SetWindowsHookExW(WH_GETMESSAGE, onMessage, nullptr, GetCurrentThreadId()))
{
    t_keyboard = this;
}

Keyboard::~Keyboard()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    t_keyboard = nullptr;
}

void Keyboard::focusChanged(bool focused)
{
    if (m_input)
        m_input->focusChanged(focused);
}

LRESULT CALLBACK Keyboard::onMessage(int code, WPARAM removal, LPARAM message)
{
    // A loop that only peeks will take the same message again later: count it once, when taken.
    if (code == HC_ACTION && removal == PM_REMOVE && t_keyboard && t_keyboard->m_input) {
        if (const auto event = arrowKeyEvent(*reinterpret_cast<const MSG*>(message))) {
            if (event->down)
                t_keyboard->m_input->keyDown(event->key, event->autoRepeat);
            else
                t_keyboard->m_input->keyUp(event->key);
        }
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

} // namespace win32
