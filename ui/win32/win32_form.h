// A top-level window built from a toolkit-free form definition.
#pragma once

#include "form_definition.h"
#include "win32_pictures.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

class FormWindow {
public:
    // Runs a handler so that no exception goes back through Windows: a failure is reported by it.
    using Guard = std::function<void(const std::function<void()>&)>;

    struct Callbacks {
        // A menu item or a button was chosen, by its definition name.
        std::function<void(std::string_view name)> command;
        // The close box; the window never closes on its own.
        std::function<void()> close;
        // The keyboard went to another program.
        std::function<void()> appDeactivated;
        // Any other message for the window; true when it was handled.
        std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> message;
    };

    // `hiddenOwner` keeps a main window that is not to be in the task bar out of it.
    FormWindow(const forms::FormDef& definition, HINSTANCE instance, PictureCache& pictures, HWND hiddenOwner,
               Guard guard, Callbacks callbacks);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Registers the window classes of forms and pictures; `icon` is the windows' icon.
    static void registerClass(HINSTANCE instance, HICON icon);

    const forms::FormDef& definition() const { return m_definition; }
    // nullptr once the window is destroyed.
    HWND hwnd() const { return m_hwnd; }
    // The window of a control in the definition; any other name raises the object-required error.
    HWND control(std::string_view name) const;

    // Shows the window, or brings it to the front when it is shown already, and activates it.
    void showAndActivate();
    // Destroys the on-screen window; the object may live on until the current handler is done.
    void destroy();

    // Tab and Shift+Tab move the focus in the definition's tab order. True when the message was used.
    bool preTranslate(const MSG& message);

private:
    struct Child {
        HWND hwnd;
        const forms::ControlDef* definition;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void activated(HWND hwnd, WPARAM wParam);
    void buildMenus(HMENU bar);
    void buildControls();
    HWND createControl(const forms::ControlDef& def, HWND parent, int id);
    void stackControls();
    void fitClientArea();
    void run(const std::function<void()>& callback);
    std::string_view commandName(WPARAM wParam, LPARAM lParam) const;
    HWND firstTabStop() const;

    const forms::FormDef& m_definition;
    HINSTANCE m_instance;
    PictureCache& m_pictures;
    Guard m_guard;
    Callbacks m_callbacks;
    HWND m_hwnd = nullptr;
    std::map<std::string, Child, std::less<>> m_controls;
    std::map<int, std::string_view> m_menuItems;
    std::map<int, const forms::ControlDef*> m_controlIds;
    std::vector<HWND> m_tabOrder;
    HWND m_lastFocus = nullptr;
};

} // namespace win32
