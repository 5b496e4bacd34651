// A clock's ticks, from the tick thread through a message-only window to the application layer.
#include "ui/win32/win32_tick_timer.h"

#include "game/runtime_error.h"
#include "ui/win32/win32_window_class.h"

namespace win32 {
namespace {

constexpr wchar_t kTickClass[] = L"GloutoTick";
constexpr UINT kTickMessage = WM_APP + 1;

} // namespace

void TickTimer::registerClass(HINSTANCE instance)
{
    registerWindowClass(instance, kTickClass, windowProc);
}

TickTimer::TickTimer(HINSTANCE instance, int periodMs, std::function<void()> tick)
    : m_tick(std::move(tick))
    , m_sink(CreateWindowExW(0, kTickClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr))
{
    if (!m_sink)
        throw game::RuntimeError(game::ErrorNumber::Internal, "CreateWindowEx tick");
    SetWindowLongPtrW(m_sink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    try {
        m_clock = std::make_unique<TickTimers>(m_sink, kTickMessage, std::vector<int>{periodMs});
    } catch (...) {
        DestroyWindow(m_sink);
        throw;
    }
}

TickTimer::~TickTimer()
{
    // The thread first: it posts to the window.
    m_clock.reset();
    DestroyWindow(m_sink);
}

LRESULT CALLBACK TickTimer::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TickTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message != kTickMessage || !self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (!self->m_clock->takeTick(wParam))
        return 0;
    // The tick may end this clock's window, and the clock with it: keep what it calls alive.
    const std::function<void()> tick = self->m_tick;
    tick();
    return 0;
}

} // namespace win32
