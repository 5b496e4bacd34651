// The browser front end: the application layer's windows, timers and boxes, drawn by the page's script.
#pragma once

#include "ui/app/front_end.h"

#include <map>
#include <memory>
#include <string>

namespace web {

// Windows and timers are known to the page by number; the page reports events by those numbers.
class WebFrontEnd final : public app::FrontEnd {
public:
    std::unique_ptr<app::WindowView> makeWindow(app::FormId id, const forms::FormDef& form, app::Input& input) override;
    std::unique_ptr<app::TimerView> makeTimer(const forms::TimerDef& timer, std::function<void()> tick) override;
    void messageBox(std::string_view prompt, app::BoxIcon icon, std::string_view title,
                    std::function<void()> closed) override;
    void reportError(std::string_view report, std::function<void()> closed) override;
    void pressEnter() override;
    void endProgram(int status) override;

    // What the player did in a window the page still shows, by the definition's indices; events
    // of an unloaded window are dropped.
    void menuItemChosen(int window, std::size_t menu, std::size_t item) const;
    void buttonClicked(int window, std::size_t control) const;
    void closeBoxClicked(int window) const;
    // Runs one tick of a running timer; a timer gone meanwhile is ignored.
    void tick(int timer) const;
    // The player closed the box of that number: what was to follow it runs now.
    void boxClosed(int box);

private:
    class Window;
    class Timer;

    int m_nextId = 1;
    struct Shown {
        app::FormId id;
        const forms::FormDef* form;
        app::Input* input;
    };
    std::map<int, Shown> m_windows;
    std::map<int, const std::function<void()>*> m_ticks;
    std::map<int, std::function<void()>> m_boxes;
};

} // namespace web
