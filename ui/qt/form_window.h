// A top-level Qt window built from a toolkit-free form definition, showing what the rules write.
#pragma once

#include "ui/app/front_end.h"
#include "ui/forms/form_definition.h"

#include <QWidget>

#include <map>
#include <string>
#include <string_view>
#include <vector>

class CentredPlacement;
class QAction;

class FormWindow final : public QWidget, public app::WindowView {
public:
    FormWindow(app::FormId id, const forms::FormDef& definition, app::Input& input);

    const forms::FormDef& definition() const { return m_definition; }
    // The widget of a control in the definition; throws the object-required error for any other name.
    QWidget& control(std::string_view name) const;
    QAction& menuItem(std::string_view name) const;
    // The client area, below the menu bar.
    QWidget& client() const { return *m_client; }

    void showAndActivate() override;
    void unload() override;
    void moveControl(std::size_t control, app::PixelPoint at) override;
    void setControlVisible(std::size_t control, bool visible) override;
    void setControlCaption(std::size_t control, std::string_view text) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void applyTabOrder();

    const app::FormId m_id;
    const forms::FormDef& m_definition;
    app::Input& m_input;
    QWidget* m_client;
    CentredPlacement* m_placement;
    // In the order of the definition's controls.
    std::vector<QWidget*> m_controls;
    std::map<std::string, QAction*, std::less<>> m_menuItems;
};
