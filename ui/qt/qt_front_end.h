// The application layer's front end on Qt Widgets: windows, precise timers, modal boxes, the loop's end.
#pragma once

#include "ui/app/front_end.h"

#include <optional>

class QtFrontEnd final : public app::FrontEnd {
public:
    std::unique_ptr<app::WindowView> makeWindow(app::FormId id, const forms::FormDef& form, app::Input& input) override;
    std::unique_ptr<app::TimerView> makeTimer(const forms::TimerDef& timer, std::function<void()> tick) override;
    void messageBox(std::string_view prompt, app::BoxIcon icon, std::string_view title,
                    std::function<void()> closed) override;
    void reportError(std::string_view report, std::function<void()> closed) override;
    void pressEnter() override;
    void endProgram(int status) override;

    // The status the program ended with, once it has.
    std::optional<int> endStatus() const { return m_endStatus; }

private:
    std::optional<int> m_endStatus;
};
