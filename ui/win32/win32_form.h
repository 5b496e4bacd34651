// One of the game's windows on screen, built from its definition, as the application layer sees it.
#pragma once

#include "ui/app/front_end.h"
#include "ui/win32/win32_keys.h"
#include "ui/win32/win32_pictures.h"

#include <windows.h>

#include <map>
#include <string_view>
#include <vector>

namespace win32 {

class FormWindow final : public app::WindowView {
public:
    // `owner` keeps a main window that is not to be in the task bar out of it.
    FormWindow(app::FormId id, const forms::FormDef& definition, HINSTANCE instance, PictureCache& pictures,
               HWND owner, app::Input& input, Keyboard& keyboard);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Registers the window classes of forms and pictures; `icon` is the windows' icon.
    static void registerClass(HINSTANCE instance, HICON icon);
    // The game window of that top-level window, or nullptr.
    static FormWindow* of(HWND root);

    void showAndActivate() override;
    void unload() override;
    void moveControl(std::size_t control, app::PixelPoint at) override;
    void setControlVisible(std::size_t control, bool visible) override;
    void setControlCaption(std::size_t control, std::string_view text) override;

    // Tab and Shift+Tab move the focus in the definition's tab order. True when the message was used.
    bool preTranslate(const MSG& message);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void command(WPARAM wParam, LPARAM lParam);
    void activated(HWND hwnd, WPARAM wParam);
    void buildMenus(HMENU bar);
    void buildControls();
    HWND createControl(const forms::ControlDef& def, HWND parent, int id);
    void fitClientArea();
    HWND child(std::string_view name) const;
    HWND firstTabStop() const;

    const app::FormId m_id;
    const forms::FormDef& m_definition;
    HINSTANCE m_instance;
    PictureCache& m_pictures;
    app::Input& m_input;
    Keyboard& m_keyboard;
    HWND m_hwnd = nullptr;
    std::map<std::string_view, HWND, std::less<>> m_children;
    std::map<int, std::string_view> m_menuItems;
    std::map<int, const forms::ControlDef*> m_controlIds;
    std::vector<HWND> m_tabOrder;
    HWND m_lastFocus = nullptr;
};

} // namespace win32
