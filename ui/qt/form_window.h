// A top-level Qt window built from a toolkit-free form definition, showing its stored controls.
#pragma once

#include "ui/forms/form_definition.h"
#include "ui/app/front_end.h"

#include <QWidget>

#include <map>
#include <string>
#include <string_view>
#include <vector>

class QAction;

class FormWindow final : public QWidget, public app::WindowView {
public:
    FormWindow(const forms::FormDef& definition, app::WindowEvents& events);

    const forms::FormDef& definition() const { return m_definition; }
    // The widget of a control in the definition; throws the object-required error for any other name.
    QWidget& control(std::string_view name) const;
    QAction& menuItem(std::string_view name) const;
    // The client area, below the menu bar.
    QWidget& client() const { return *m_client; }

    void showAndActivate() override;
    void unload() override;
    void changed(const app::StoredControl& control, app::Property property) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void applyTabOrder();
    void centre();
    void centreOnceFramed();

    // Between two looks for the window manager's frame.
    static constexpr int kFramingLookMs = 20;

    const forms::FormDef& m_definition;
    app::WindowEvents& m_events;
    QWidget* m_client;
    // In the order of the definition's controls.
    std::vector<QWidget*> m_controls;
    std::map<std::string, QAction*, std::less<>> m_menuItems;
    int m_framingLooks = 0;
};
