// Builds real Qt widgets from a form definition: frame, client area, controls, lines and menus.
#include "ui/qt/form_window.h"

#include "ui/app/layout.h"
#include "ui/qt/bmp_picture.h"
#include "ui/qt/picture_button.h"
#include "ui/qt/picture_widget.h"
#include "ui/qt/qt_text.h"
#include "ui/app/errors.h"
#include "ui/app/stored_control.h"
#include "ui/qt/x11_window_hints.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <string>

namespace {

QRect pixelRect(const forms::ControlDef& c)
{
    const app::PixelRect r = app::pixelRect(c);
    return {r.x, r.y, r.width, r.height};
}

QPixmap picture(std::string_view name)
{
    if (name.empty())
        return {};
    const QString path = QStringLiteral(":/pictures/%1.bmp").arg(qText(name));
    const QPixmap pixmap = bmpPicture(path);
    if (pixmap.isNull())
        throw app::missingPicture(name);
    return pixmap;
}

QColor systemColour(forms::SystemColour colour)
{
    switch (colour) {
    case forms::SystemColour::WindowFrame:
        // X11 has no window-frame colour of its own.
        return qColour(forms::kBoardColour);
    case forms::SystemColour::ButtonFace:
        break;
    }
    return QPalette().color(QPalette::Window);
}

void paintLines(QPainter& painter, std::span<const forms::LineDef> lines, std::string_view container)
{
    for (const forms::LineDef& line : lines) {
        if (line.container != container)
            continue;
        painter.setPen(QPen(painter.pen().color(), line.borderWidthPixels));
        painter.drawLine(QPointF(forms::pixelsFromTwips(line.x1), forms::pixelsFromTwips(line.y1)),
                         QPointF(forms::pixelsFromTwips(line.x2), forms::pixelsFromTwips(line.y2)));
    }
}

// The client area: the form's background colour and its lines.
class ClientArea final : public QWidget {
public:
    ClientArea(const forms::FormDef& form, QWidget* parent) : QWidget(parent), m_form(form)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), systemColour(m_form.background));
        painter.setPen(palette().color(QPalette::WindowText));
        paintLines(painter, m_form.lines, {});
    }

private:
    const forms::FormDef& m_form;
};

// A frame holding controls, with the lines drawn on it.
class FrameBox final : public QGroupBox {
public:
    FrameBox(const QString& title, std::span<const forms::LineDef> lines, std::string_view name, QWidget* parent)
        : QGroupBox(title, parent), m_lines(lines), m_name(name)
    {
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QGroupBox::paintEvent(event);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        paintLines(painter, m_lines, m_name);
    }

private:
    std::span<const forms::LineDef> m_lines;
    std::string_view m_name;
};

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

FormWindow::FormWindow(const forms::FormDef& definition, app::WindowEvents& events)
    : QWidget(nullptr, frameFlags(definition.border))
    , m_definition(definition)
    , m_events(events)
    , m_client(new ClientArea(definition, this))
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
            connect(action, &QAction::triggered, this, [this, name = item.name] { m_events.menuItemChosen(name); });
            m_menuItems.emplace(std::string(item.name), action);
        }
    }
    layout()->setMenuBar(bar);
}

void FormWindow::buildControls()
{
    using forms::ControlKind;
    for (const forms::ControlDef& def : m_definition.controls) {
        QWidget* parent = def.container.empty() ? m_client : &control(def.container);
        QWidget* widget = nullptr;
        QAbstractButton* button = nullptr;
        switch (def.kind) {
        case ControlKind::PictureBox:
        case ControlKind::Image:
            widget = new PictureWidget(picture(def.picture), parent);
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(qText(def.caption), parent);
            // The platform's default label is opaque in the face colour, so the score reads on the
            // black board; on a form of that colour already, painting it again would only show
            // patches over the style's frame panels.
            label->setAutoFillBackground(m_definition.background != forms::SystemColour::ButtonFace);
            label->setAlignment((def.align == forms::TextAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
            label->setWordWrap(def.wordWrap);
            widget = label;
            break;
        }
        case ControlKind::Button: {
            auto* push = new QPushButton(qText(def.caption), parent);
            push->setAutoDefault(false);
            widget = button = push;
            break;
        }
        case ControlKind::PictureButton:
            widget = button = new PictureButton(picture(def.picture), picture(def.pressedPicture), parent);
            break;
        case ControlKind::Frame:
            widget = new FrameBox(qText(def.caption), m_definition.lines, def.name, parent);
            break;
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(qText(def.caption), parent);
            // Show the text from its start, as a freshly loaded box does.
            edit->setCursorPosition(0);
            widget = edit;
            break;
        }
        }
        if (button)
            connect(button, &QAbstractButton::clicked, this, [this, name = def.name] { m_events.buttonClicked(name); });
        widget->setObjectName(qText(def.name));
        widget->setGeometry(pixelRect(def));
        widget->setVisible(def.visible);
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
    if (!isVisible()) {
        adjustSize();
        centre();
        show();
        // The frame is the window manager's, and its size is known only once it has framed the
        // window: centre again then. No manager frames a window the moment it is mapped, so the
        // first look waits too, and the first frame does not wait for it.
        m_framingLooks = 0;
        QTimer::singleShot(kFramingLookMs, this, &FormWindow::centreOnceFramed);
    }
    raise();
    activateWindow();
}

void FormWindow::centre()
{
    // The whole window, frame included, in the middle of the screen's available area. Where the
    // platform places windows itself (Wayland), the compositor's choice stands. The widget's own
    // idea of its frame may lag the window manager's word, so the client area is placed, by the
    // margins the window itself reports. A window never shown has no frame yet, and asking would
    // cost round trips to the X server before the window is even mapped.
    const QRect available = screen()->availableGeometry();
    const QMargins frame = isVisible() && windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize whole = size().grownBy(frame);
    const QPoint frameAt(available.x() + (available.width() - whole.width()) / 2,
                         available.y() + (available.height() - whole.height()) / 2);
    setGeometry(QRect(frameAt + QPoint(frame.left(), frame.top()), size()));
}

void FormWindow::centreOnceFramed()
{
    // A window manager frames a new window a moment after it is mapped, and tells no widget when it
    // has: look for the frame for a short while. Without a window manager none comes.
    constexpr int kLooks = 150;
    if (!windowHandle()->frameMargins().isNull())
        centre();
    else if (++m_framingLooks < kLooks)
        QTimer::singleShot(kFramingLookMs, this, &FormWindow::centreOnceFramed);
}

void FormWindow::unload() { hide(); }

void FormWindow::changed(const app::StoredControl& control, app::Property property)
{
    const forms::ControlDef* def = &control.definition();
    QWidget& widget = *m_controls.at(static_cast<std::size_t>(def - m_definition.controls.data()));
    switch (property) {
    case app::Property::Top:
    case app::Property::Left:
        if (const auto at = control.pixelPosition())
            widget.move(at->x, at->y);
        break;
    case app::Property::Visible:
        widget.setVisible(control.visible());
        break;
    case app::Property::Caption:
        if (auto* label = qobject_cast<QLabel*>(&widget))
            label->setText(qText(control.caption()));
        else if (auto* button = qobject_cast<QAbstractButton*>(&widget))
            button->setText(qText(control.caption()));
        else if (auto* frame = qobject_cast<QGroupBox*>(&widget))
            frame->setTitle(qText(control.caption()));
        break;
    }
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    // Unloading is the application's business: it decides and destroys the window itself.
    event->ignore();
    m_events.closeBoxClicked();
}
