// Builds a Qt window from a form definition: frame, client area, controls, menus and tab order.
#include "ui/qt/form_window.h"

#include "ui/app/errors.h"
#include "ui/app/layout.h"
#include "ui/qt/centred_placement.h"
#include "ui/qt/control_widgets.h"
#include "ui/qt/form_painting.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/x11_window_hints.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

// Another sans-serif stands in where the design font is missing.
QFont designFont()
{
    QFont font(qText(forms::kDesignFontFamily), forms::kFontPoints);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

Qt::WindowFlags frameFlags(forms::BorderStyle border)
{
    const Qt::WindowFlags fixed = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                  Qt::MSWindowsFixedSizeDialogHint;
    return fixed | (border == forms::BorderStyle::FixedToolWindow ? Qt::Tool : Qt::Dialog);
}

} // namespace

FormWindow::FormWindow(app::FormId id, const forms::FormDef& definition, app::Input& input)
    : QWidget(nullptr, frameFlags(definition.border))
    , m_id(id)
    , m_definition(definition)
    , m_input(input)
    , m_client(new ClientArea(definition, this))
    , m_placement(new CentredPlacement(*this))
{
    setWindowTitle(qText(definition.caption));
    if (definition.font == forms::FontChoice::Design)
        setFont(designFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The window takes exactly the client size plus the menu bar, and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_client->setFixedSize(app::pixels(definition.clientWidth), app::pixels(definition.clientHeight));
    layout->addWidget(m_client);
    buildMenus();
    buildControls();
    applyTabOrder();
    if (!definition.showInTaskbar)
        keepOutOfTaskbar(*this);
}

void FormWindow::buildMenus()
{
    if (m_definition.menus.empty())
        return;
    auto* bar = new QMenuBar(this);
    for (const forms::MenuDef& menuDef : m_definition.menus) {
        QMenu* menu = bar->addMenu(qText(menuDef.caption));
        for (const forms::MenuItemDef& item : menuDef.items) {
            QAction* action = item.separator ? menu->addSeparator() : menu->addAction(qText(item.caption));
            connect(action, &QAction::triggered, this, [this, name = item.name] { m_input.menuItemChosen(m_id, name); });
            m_menuItems.emplace(std::string(item.name), action);
        }
    }
    layout()->setMenuBar(bar);
}

void FormWindow::buildControls()
{
    for (const forms::ControlDef& def : m_definition.controls) {
        QWidget* parent = def.container.empty() ? m_client : &control(def.container);
        QWidget* widget = makeControlWidget(m_definition, def, parent);
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, name = def.name] { m_input.buttonClicked(m_id, name); });
        m_controls.push_back(widget);
    }
    for (const std::size_t i : app::stackingOrder(m_definition))
        m_controls[i]->raise();
}

void FormWindow::applyTabOrder()
{
    const std::vector<std::size_t> order = app::tabOrder(m_definition);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(m_controls[order[i - 1]], m_controls[order[i]]);
}

QWidget& FormWindow::control(std::string_view name) const
{
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_definition.controls[i].name == name)
            return *m_controls[i];
    throw app::objectRequired(name);
}

QAction& FormWindow::menuItem(std::string_view name) const
{
    const auto found = m_menuItems.find(name);
    if (found == m_menuItems.end())
        throw app::objectRequired(name);
    return *found->second;
}

void FormWindow::showAndActivate()
{
    if (!isVisible())
        m_placement->showCentred();
    raise();
    activateWindow();
}

void FormWindow::unload() { hide(); }

void FormWindow::moveControl(std::size_t control, app::PixelPoint at) { m_controls.at(control)->move(at.x, at.y); }

void FormWindow::setControlVisible(std::size_t control, bool visible) { m_controls.at(control)->setVisible(visible); }

void FormWindow::setControlCaption(std::size_t control, std::string_view text)
{
    QWidget* widget = m_controls.at(control);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(qText(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(qText(text));
    else if (auto* frame = qobject_cast<QGroupBox*>(widget))
        frame->setTitle(qText(text));
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    // Unloading is the application's business: it decides and destroys the window itself.
    event->ignore();
    m_input.closeBoxClicked(m_id);
}
