// Making the game's windows and clocks, boxes modal to every game window, and the message loop.
#include "ui/win32/win32_front_end.h"

#include "ui/win32/win32_form.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_tick_timer.h"

namespace win32 {

FrontEnd::FrontEnd(HINSTANCE instance, XInputGetStateCall controllerState)
    : m_instance(instance)
    , m_pictures(instance)
    , m_hiddenOwner(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr))
    , m_boxes(instance)
    , m_controllers(instance, controllerState)
{
    FormWindow::registerClass(instance, LoadIconW(instance, MAKEINTRESOURCEW(GLOUTO_ICON_ID)));
    TickTimer::registerClass(instance);
}

FrontEnd::~FrontEnd()
{
    if (m_hiddenOwner)
        DestroyWindow(m_hiddenOwner);
}

int FrontEnd::run(app::Input& input)
{
    m_keyboard.feedTo(&input);
    m_controllers.feedTo(&input);
    m_input = &input;
    MSG message{};
    int status = app::kRuntimeErrorStatus;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                status = static_cast<int>(message.wParam);
            break;
        }
        FormWindow* form = FormWindow::of(message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr);
        if (!form || !form->preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    m_keyboard.feedTo(nullptr);
    m_controllers.feedTo(nullptr);
    m_input = nullptr;
    return status;
}

std::unique_ptr<app::WindowView> FrontEnd::makeWindow(app::FormId id, const forms::FormDef& form, app::Input& input)
{
    // An owned window never shows in the task bar; tool windows stay out of it by themselves.
    const bool owned = !form.showInTaskbar && form.border == forms::BorderStyle::FixedDialog;
    return std::make_unique<FormWindow>(id, form, m_instance, m_pictures, owned ? m_hiddenOwner : nullptr, input,
                                        m_keyboard);
}

std::unique_ptr<app::TimerView> FrontEnd::makeTimer(const forms::TimerDef& timer, std::function<void()> tick)
{
    return std::make_unique<TickTimer>(
        m_instance, timer.intervalMs, std::move(tick), [this](const std::string& report) { clockFailed(report); });
}

void FrontEnd::clockFailed(const std::string& report)
{
    // Outside any handler, so the application layer's guard never sees it: the layer reports it
    // the same way. Before the loop runs there is no layer to tell yet.
    if (m_ending)
        return;
    if (m_input)
        m_input->failed(report);
    else
        fatal(report);
}

void FrontEnd::messageBox(std::string_view prompt, app::BoxIcon icon, std::string_view title,
                          std::function<void()> closed)
{
    m_boxes.show(widen(prompt), widen(title), boxStyle(icon), std::move(closed));
}

void FrontEnd::reportError(std::string_view report, std::function<void()> closed)
{
    m_boxes.show(widen(report), widen(app::kProgramName), boxStyle(app::BoxIcon::Stop), std::move(closed));
}

void FrontEnd::pressEnter()
{
    // Posted as the keyboard's would be: a dialog's loop takes Return for its default button.
    if (HWND focus = GetFocus()) {
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
    }
}

void FrontEnd::endProgram(int status)
{
    // The first end is the one: a later call must not change the exit status.
    if (m_ending)
        return;
    m_ending = true;
    PostQuitMessage(status);
}

} // namespace win32
