// The null front end's windows and timers: plain records, and a clock that only moves when told.
#include "ui/app/null_front_end.h"

#include "ui/app/stored_control.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace app {
namespace {

// Whole twips print as integers, so that a log reads like the window's own property sheet.
std::string twips(float value)
{
    if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 1e9f)
        return std::to_string(static_cast<long long>(value));
    std::ostringstream out;
    out.precision(9);
    out << value;
    return out.str();
}

const char* boolText(bool value) { return value ? "True" : "False"; }

std::string valueText(const StoredControl& control, Property property)
{
    switch (property) {
    case Property::Top: return twips(control.top());
    case Property::Left: return twips(control.left());
    case Property::Visible: return boolText(control.visible());
    case Property::Caption: return std::string(control.caption());
    }
    return {};
}

const char* propertyName(Property property)
{
    switch (property) {
    case Property::Top: return "Top";
    case Property::Left: return "Left";
    case Property::Visible: return "Visible";
    case Property::Caption: return "Caption";
    }
    return "";
}

} // namespace

class NullFrontEnd::Window final : public WindowView {
public:
    Window(NullFrontEnd& owner, const forms::FormDef& form, WindowEvents& events)
        : m_owner(owner), m_form(form), m_events(events)
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
        m_unloaded = true;
        m_owner.record("Unload " + std::string(m_form.name));
    }
    void changed(const StoredControl&, Property) override {}
    void written(const StoredControl& control, Property property) override
    {
        if (m_owner.m_recording)
            m_owner.record(std::string(control.name()) + "." + propertyName(property) + "=" +
                           valueText(control, property));
    }

    const forms::FormDef& form() const { return m_form; }
    WindowEvents& events() const { return m_events; }
    bool shown() const { return m_shown; }
    bool unloaded() const { return m_unloaded; }

private:
    NullFrontEnd& m_owner;
    const forms::FormDef& m_form;
    WindowEvents& m_events;
    bool m_shown = false;
    bool m_unloaded = false;
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

std::unique_ptr<WindowView> NullFrontEnd::makeWindow(const forms::FormDef& form, WindowEvents& events)
{
    return std::make_unique<Window>(*this, form, events);
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

WindowEvents* NullFrontEnd::events(std::string_view form) const
{
    for (const Window* window : m_windows)
        if (window->form().name == form && !window->unloaded())
            return &window->events();
    return nullptr;
}

bool NullFrontEnd::shown(std::string_view form) const
{
    return std::any_of(m_windows.begin(), m_windows.end(), [form](const Window* w) { return w->form().name == form && w->shown(); });
}

} // namespace app
