// The argument vector and the platform choice Qt starts from.
#include "ui/qt/qt_startup.h"

#include "ui/app/front_end.h"

#include <QByteArray>
#include <QtGlobal>

#include <string>

QtArguments::QtArguments(int argc, char* argv[])
{
    // The program's name stands in for a missing argv[0] (a program may be started with an empty vector).
    static std::string programName(app::kProgramName);
    m_argv = {argc > 0 && argv[0] ? argv[0] : programName.data(), nullptr};
}

void preferX11Platform()
{
    // Qt reads an empty value as unset too; a list makes Qt try each platform in turn.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}
