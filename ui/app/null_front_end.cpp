// The null front end's windows and timers: plain records, and a clock that only moves when told.
#include "ui/app/null_front_end.h"

#include <algorithm>

namespace app {
class NullFrontEnd::Window final : public WindowView {
public:
    Window(NullFrontEnd& owner, const forms::FormDef& form) : m_owner(owner), m_form(form)
    {
        m_owner.m_windows.push_back(this);
    }
    ~Window() override { std::erase(m_owner.m_windows, this); }

    void showAndActivate() override
    {
        m_shown = true;
        m_owner.record("Show " + std::string(m_form.name));
    }
    void unload() override
    {
        m_shown = false;
        m_owner.record("Unload " + std::string(m_form.name));
    }
    void moveControl(std::size_t, PixelPoint) override {}
    void setControlVisible(std::size_t, bool) override {}
    void setControlCaption(std::size_t, std::string_view) override {}
    void written(const game::Write& write) override
    {
        if (m_owner.m_recording)
            m_owner.record(game::describe(write));
    }

    const forms::FormDef& form() const { return m_form; }
    bool shown() const { return m_shown; }

private:
    NullFrontEnd& m_owner;
    const forms::FormDef& m_form;
    bool m_shown = false;
};

class NullFrontEnd::Timer final : public TimerView {
public:
    Timer(NullFrontEnd& owner, const forms::TimerDef& timer, std::function<void()> tick)
        : m_owner(owner), m_def(timer), m_tick(std::move(tick)), m_order(owner.m_madeTimers++)
    {
        m_owner.m_timers.push_back(this);
    }
    ~Timer() override { std::erase(m_owner.m_timers, this); }

    void start() override
    {
        m_running = true;
        m_due = m_owner.m_now + m_def.intervalMs;
    }
    void stop() override { m_running = false; }

    std::string_view name() const { return m_def.name; }
    bool running() const { return m_running; }
    std::int64_t due() const { return m_due; }
    std::uint64_t order() const { return m_order; }
    void fire()
    {
        m_due += m_def.intervalMs;
        // The tick may destroy this timer: keep what it calls alive.
        const std::function<void()> tick = m_tick;
        tick();
    }

private:
    NullFrontEnd& m_owner;
    const forms::TimerDef& m_def;
    std::function<void()> m_tick;
    std::uint64_t m_order;
    bool m_running = false;
    std::int64_t m_due = 0;
};

std::unique_ptr<WindowView> NullFrontEnd::makeWindow(FormId, const forms::FormDef& form, Input&)
{
    return std::make_unique<Window>(*this, form);
}

std::unique_ptr<TimerView> NullFrontEnd::makeTimer(const forms::TimerDef& timer, std::function<void()> tick)
{
    return std::make_unique<Timer>(*this, timer, std::move(tick));
}

void NullFrontEnd::messageBox(std::string_view prompt, BoxIcon icon, std::string_view title,
                              std::function<void()> closed)
{
    ++messageBoxes;
    const int style = static_cast<int>(icon);
    boxes.push_back({std::string(prompt), style, std::string(title)});
    record("MsgBox(" + std::string(prompt) + "|" + std::to_string(style) + "|" + std::string(title) + ")");
    if (whileBoxIsOpen)
        whileBoxIsOpen();
    if (holdBoxes)
        heldBoxes.push_back(std::move(closed));
    else
        closed();
}

void NullFrontEnd::reportError(std::string_view report, std::function<void()> closed)
{
    errors.emplace_back(report);
    record("Error(" + std::string(report) + ")");
    closed();
}

void NullFrontEnd::pressEnter() { record("Enter"); }

void NullFrontEnd::endProgram(int status)
{
    if (!endStatus)
        endStatus = status;
    record("End " + std::to_string(status));
}

void NullFrontEnd::record(std::string line)
{
    if (m_recording)
        log.push_back(std::move(line));
}

void NullFrontEnd::advance(std::int64_t ms)
{
    const std::int64_t end = m_now + ms;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* timer : m_timers)
            if (timer->running() && timer->due() <= end &&
                (!next || timer->due() < next->due() || (timer->due() == next->due() && timer->order() < next->order())))
                next = timer;
        if (!next)
            break;
        m_now = next->due();
        next->fire();
    }
    m_now = end;
}

bool NullFrontEnd::tick(std::string_view timer)
{
    for (Timer* t : m_timers)
        if (t->name() == timer) {
            t->fire();
            return true;
        }
    return false;
}

bool NullFrontEnd::running(std::string_view timer) const
{
    return std::any_of(m_timers.begin(), m_timers.end(), [timer](const Timer* t) { return t->name() == timer && t->running(); });
}

bool NullFrontEnd::shown(std::string_view form) const
{
    return std::any_of(m_windows.begin(), m_windows.end(), [form](const Window* w) { return w->form().name == form && w->shown(); });
}

} // namespace app
