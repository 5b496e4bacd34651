// The Win32 front end: windows, clocks and boxes for the application layer, and the message loop.
#pragma once

#include "ui/app/front_end.h"
#include "ui/win32/win32_controllers.h"
#include "ui/win32/win32_keys.h"
#include "ui/win32/win32_modal_box.h"
#include "ui/win32/win32_pictures.h"

#include <windows.h>

#include <string>

namespace win32 {

class FrontEnd final : public app::FrontEnd {
public:
    // `controllerState` stands in for XInput's XInputGetState, for a test that scripts a controller.
    explicit FrontEnd(HINSTANCE instance, XInputGetStateCall controllerState = nullptr);
    ~FrontEnd() override;
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Runs the message loop, the arrow keys and the clocks' failures going to `input`, until the
    // program ends; returns the exit status.
    int run(app::Input& input);

    std::unique_ptr<app::WindowView> makeWindow(app::FormId id, const forms::FormDef& form, app::Input& input) override;
    std::unique_ptr<app::TimerView> makeTimer(const forms::TimerDef& timer, std::function<void()> tick) override;
    void messageBox(std::string_view prompt, app::BoxIcon icon, std::string_view title,
                    std::function<void()> closed) override;
    void reportError(std::string_view report, std::function<void()> closed) override;
    void pressEnter() override;
    void endProgram(int status) override;

private:
    // A clock whose ticks can no longer reach this thread.
    void clockFailed(const std::string& report);

    HINSTANCE m_instance;
    PictureCache m_pictures;
    // Never shown: it owns the main window, which keeps that one out of the task bar.
    HWND m_hiddenOwner;
    ModalBoxes m_boxes;
    Keyboard m_keyboard;
    Controllers m_controllers;
    // The program the message loop runs, while it runs.
    app::Input* m_input = nullptr;
    bool m_ending = false;
};

} // namespace win32
