// A clock's ticks, from its tick thread through a message-only window to the application layer.
#include "ui/win32/win32_tick_timer.h"

#include "ui/app/errors.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window_class.h"

namespace win32 {
namespace {

constexpr wchar_t kTickClass[] = L"GloutoTick";
constexpr UINT kTickMessage = WM_APP + 1;
// The clock is broken: wParam holds the system's error code, lParam the failing call's name.
constexpr UINT kBrokenMessage = WM_APP + 2;

} // namespace

void TickTimer::registerClass(HINSTANCE instance)
{
    registerWindowClass(instance, kTickClass, windowProc);
}

TickTimer::TickTimer(HINSTANCE instance, int periodMs, std::function<void()> tick,
                     std::function<void(const std::string&)> failed)
    : m_periodMs(periodMs), m_tick(std::move(tick)), m_failed(std::move(failed)), m_sink(makeSink(instance))
    , m_clock(periodMs, [this] { return post(); }, [this](const char* call, DWORD error) { broken(call, error); })
{
}

TickTimer::UniqueWindow TickTimer::makeSink(HINSTANCE instance)
{
    UniqueWindow sink(CreateWindowExW(0, kTickClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
    if (!sink)
        throw app::internalError("CreateWindowEx tick");
    SetWindowLongPtrW(sink.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return sink;
}

DWORD TickTimer::post() const
{
    return PostMessageW(m_sink.get(), kTickMessage, 0, 0) ? 0 : GetLastError();
}

void TickTimer::broken(const char* call, DWORD error) const
{
    // A sent message skips the queue of posted messages, so it also gets through a full one, and
    // any loop of the window thread takes it.
    if (!SendNotifyMessageW(m_sink.get(), kBrokenMessage, error, reinterpret_cast<LPARAM>(call)))
        fatal(report(call, error));
}

std::string TickTimer::report(const char* call, DWORD error) const
{
    const std::string text =
        std::string(call) + " tick " + std::to_string(m_periodMs) + " ms: " + std::to_string(error);
    return app::internalError(text).report();
}

LRESULT CALLBACK TickTimer::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TickTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || (message != kTickMessage && message != kBrokenMessage))
        return DefWindowProcW(hwnd, message, wParam, lParam);
    // Either may end this clock's window, and the clock with it: keep what it calls alive.
    if (message == kBrokenMessage) {
        const std::function<void(const std::string&)> failed = self->m_failed;
        failed(self->report(reinterpret_cast<const char*>(lParam), static_cast<DWORD>(wParam)));
    } else if (self->m_clock.takeTick()) {
        const std::function<void()> tick = self->m_tick;
        tick();
    }
    return 0;
}

} // namespace win32
