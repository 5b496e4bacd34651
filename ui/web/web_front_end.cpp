// The page's side of each window and timer, through the script functions of desktop.js.
#include "ui/web/web_front_end.h"

#include "ui/web/form_json.h"

#include <emscripten.h>

namespace web {
namespace {

// clang-format off
EM_JS(void, pageMakeWindow, (int id, const char* json), { Glouto.desktop.makeWindow(id, JSON.parse(UTF8ToString(json))); });
EM_JS(void, pageShowWindow, (int id), { Glouto.desktop.show(id); });
EM_JS(void, pageUnloadWindow, (int id), { Glouto.desktop.unload(id); });
EM_JS(void, pageDestroyWindow, (int id), { Glouto.desktop.destroy(id); });
EM_JS(void, pageSetPosition, (int id, int control, int x, int y), { Glouto.desktop.setPosition(id, control, x, y); });
EM_JS(void, pageSetVisible, (int id, int control, int visible), { Glouto.desktop.setVisible(id, control, visible !== 0); });
EM_JS(void, pageSetCaption, (int id, int control, const char* text), { Glouto.desktop.setCaption(id, control, UTF8ToString(text)); });
EM_JS(void, pageStartTimer, (int id, int ms), { Glouto.desktop.startTimer(id, ms); });
EM_JS(void, pageStopTimer, (int id), { Glouto.desktop.stopTimer(id); });
EM_JS(void, pageEndProgram, (int status), { Glouto.desktop.endProgram(status); });
EM_JS(void, pagePressEnter, (), { Glouto.desktop.pressEnter(); });
// The page tells the program when the player has closed the box, by its number.
EM_JS(void, pageMessageBox, (int id, const char* prompt, int stopIcon, const char* title), {
    Glouto.desktop.messageBox(id, UTF8ToString(prompt), stopIcon !== 0, UTF8ToString(title));
});
// clang-format on

} // namespace

class WebFrontEnd::Window final : public app::WindowView {
public:
    Window(WebFrontEnd& owner, int id, app::FormId formId, const forms::FormDef& form, app::Input& input)
        : m_owner(owner), m_id(id)
    {
        pageMakeWindow(m_id, formJson(form).c_str());
        m_owner.m_windows[m_id] = {formId, &form, &input};
    }
    ~Window() override
    {
        m_owner.m_windows.erase(m_id);
        pageDestroyWindow(m_id);
    }

    void showAndActivate() override { pageShowWindow(m_id); }
    void unload() override
    {
        m_owner.m_windows.erase(m_id);
        pageUnloadWindow(m_id);
    }

    void moveControl(std::size_t control, app::PixelPoint at) override
    {
        pageSetPosition(m_id, static_cast<int>(control), at.x, at.y);
    }
    void setControlVisible(std::size_t control, bool visible) override
    {
        pageSetVisible(m_id, static_cast<int>(control), visible);
    }
    void setControlCaption(std::size_t control, std::string_view text) override
    {
        pageSetCaption(m_id, static_cast<int>(control), std::string(text).c_str());
    }

private:
    WebFrontEnd& m_owner;
    int m_id;
};

class WebFrontEnd::Timer final : public app::TimerView {
public:
    Timer(WebFrontEnd& owner, int id, const forms::TimerDef& timer, std::function<void()> tick)
        : m_owner(owner), m_id(id), m_intervalMs(timer.intervalMs), m_tick(std::move(tick))
    {
        m_owner.m_ticks[m_id] = &m_tick;
    }
    ~Timer() override
    {
        stop();
        m_owner.m_ticks.erase(m_id);
    }

    void start() override { pageStartTimer(m_id, m_intervalMs); }
    void stop() override { pageStopTimer(m_id); }

private:
    WebFrontEnd& m_owner;
    int m_id;
    int m_intervalMs;
    std::function<void()> m_tick;
};

std::unique_ptr<app::WindowView> WebFrontEnd::makeWindow(app::FormId id, const forms::FormDef& form, app::Input& input)
{
    return std::make_unique<Window>(*this, m_nextId++, id, form, input);
}

std::unique_ptr<app::TimerView> WebFrontEnd::makeTimer(const forms::TimerDef& timer, std::function<void()> tick)
{
    return std::make_unique<Timer>(*this, m_nextId++, timer, std::move(tick));
}

void WebFrontEnd::messageBox(std::string_view prompt, app::BoxIcon icon, std::string_view title,
                             std::function<void()> closed)
{
    const int id = m_nextId++;
    m_boxes.emplace(id, std::move(closed));
    pageMessageBox(id, std::string(prompt).c_str(), icon == app::BoxIcon::Stop, std::string(title).c_str());
}

void WebFrontEnd::reportError(std::string_view report, std::function<void()> closed)
{
    messageBox(report, app::BoxIcon::Stop, app::kProgramName, std::move(closed));
}

void WebFrontEnd::boxClosed(int box)
{
    const auto found = m_boxes.find(box);
    if (found == m_boxes.end())
        return;
    const std::function<void()> closed = std::move(found->second);
    m_boxes.erase(found);
    closed();
}

void WebFrontEnd::pressEnter() { pagePressEnter(); }

void WebFrontEnd::endProgram(int status) { pageEndProgram(status); }

void WebFrontEnd::menuItemChosen(int window, std::size_t menu, std::size_t item) const
{
    const auto found = m_windows.find(window);
    if (found == m_windows.end() || menu >= found->second.form->menus.size())
        return;
    const forms::MenuDef& def = found->second.form->menus[menu];
    if (item < def.items.size())
        found->second.input->menuItemChosen(found->second.id, def.items[item].name);
}

void WebFrontEnd::buttonClicked(int window, std::size_t control) const
{
    const auto found = m_windows.find(window);
    if (found != m_windows.end() && control < found->second.form->controls.size())
        found->second.input->buttonClicked(found->second.id, found->second.form->controls[control].name);
}

void WebFrontEnd::closeBoxClicked(int window) const
{
    if (const auto found = m_windows.find(window); found != m_windows.end())
        found->second.input->closeBoxClicked(found->second.id);
}

void WebFrontEnd::tick(int timer) const
{
    const auto found = m_ticks.find(timer);
    if (found != m_ticks.end()) {
        // The tick may destroy its timer: keep what it calls alive.
        const std::function<void()> tick = *found->second;
        tick();
    }
}

} // namespace web
