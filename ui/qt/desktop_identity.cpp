// The application's name and desktop entry now, its windows' icon after the first frame.
#include "ui/qt/desktop_identity.h"

#include "ui/app/front_end.h"
#include "ui/forms/icons.h"
#include "ui/qt/qt_text.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>

namespace {

void setIcon()
{
    // Drawn at each size rather than scaled.
    QIcon icon;
    for (const int size : forms::kDesktopIconSizes)
        icon.addFile(QStringLiteral(":/pictures/icon_%1.png").arg(size), QSize(size, size));
    // Reaches the windows already shown as well as those to come.
    QApplication::setWindowIcon(icon);
}

// Watches every event until the first paint, then sets the icon on the next turn of the event
// loop, when that frame has been flushed to the screen.
class IconAfterFirstFrame final : public QObject {
public:
    IconAfterFirstFrame() : QObject(qApp) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, qApp, setIcon);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void setUpDesktopIdentity()
{
    QApplication::setApplicationName(qText(app::kProgramName));
    // Lets desktops match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.glouto"));
    new IconAfterFirstFrame;
}
