// Pictures, labels, buttons, frames and text boxes made from their definitions.
#include "ui/qt/control_widgets.h"

#include "ui/app/errors.h"
#include "ui/app/layout.h"
#include "ui/qt/bmp_picture.h"
#include "ui/qt/form_painting.h"
#include "ui/qt/picture_button.h"
#include "ui/qt/picture_widget.h"
#include "ui/qt/qt_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

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

QWidget* makeWidget(const forms::FormDef& form, const forms::ControlDef& def, QWidget* parent)
{
    using forms::ControlKind;
    switch (def.kind) {
    case ControlKind::PictureBox:
    case ControlKind::Image:
        return new PictureWidget(picture(def.picture), parent);
    case ControlKind::Label: {
        auto* label = new QLabel(qText(def.caption), parent);
        // The platform's default label is opaque in the face colour, so the score reads on the
        // black board; on a form of that colour already, painting it again would only show
        // patches over the style's frame panels.
        label->setAutoFillBackground(form.background != forms::SystemColour::ButtonFace);
        label->setAlignment((def.align == forms::TextAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        label->setWordWrap(def.wordWrap);
        return label;
    }
    case ControlKind::Button: {
        auto* push = new QPushButton(qText(def.caption), parent);
        push->setAutoDefault(false);
        return push;
    }
    case ControlKind::PictureButton:
        return new PictureButton(picture(def.picture), picture(def.pressedPicture), parent);
    case ControlKind::Frame:
        return new FrameBox(qText(def.caption), form.lines, def.name, parent);
    case ControlKind::TextBox: {
        auto* edit = new QLineEdit(qText(def.caption), parent);
        // Show the text from its start, as a freshly loaded box does.
        edit->setCursorPosition(0);
        return edit;
    }
    }
    throw app::internalError("unknown control kind");
}

} // namespace

QWidget* makeControlWidget(const forms::FormDef& form, const forms::ControlDef& control, QWidget* parent)
{
    QWidget* widget = makeWidget(form, control, parent);
    widget->setObjectName(qText(control.name));
    const app::PixelRect place = app::pixelRect(control);
    widget->setGeometry(place.x, place.y, place.width, place.height);
    widget->setVisible(control.visible);
    return widget;
}
