// A top-level window built from a toolkit-free form definition.
#pragma once

#include "form_definition.h"

#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <string_view>

class QAction;

class FormWindow final : public QWidget {
public:
    explicit FormWindow(const forms::FormDef& definition);

    const forms::FormDef& definition() const { return m_definition; }
    // The widget of a control in the definition; throws the object-required error for any other name.
    QWidget& control(std::string_view name) const;
    QAction& menuItem(std::string_view name) const;
    // The client area, below the menu bar.
    QWidget& client() const { return *m_client; }

    // What the close box does; the window itself never closes on its own.
    void setCloseHandler(std::function<void()> handler) { m_closeHandler = std::move(handler); }

    // Shows the window centred on its screen, or raises and activates it when it is already shown.
    void showAndActivate();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void applyTabOrder();

    const forms::FormDef& m_definition;
    QWidget* m_client;
    std::map<std::string, QWidget*, std::less<>> m_controls;
    std::map<std::string, QAction*, std::less<>> m_menuItems;
    std::function<void()> m_closeHandler;
};
