// The application's name and desktop entry now, its windows' icon after the first frame.
#include "ui/qt/desktop_identity.h"

#include "ui/app/front_end.h"
#include "ui/qt/after_first_frame.h"
#include "ui/forms/icons.h"
#include "ui/qt/qt_text.h"

#include <QApplication>
#include <QIcon>

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

} // namespace

void setUpDesktopIdentity()
{
    QApplication::setApplicationName(qText(app::kProgramName));
    // Lets desktops match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.glouto"));
    afterFirstFrame(qApp, setIcon);
}
