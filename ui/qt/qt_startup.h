// What Qt starts from: none of the player's command line, and X11 first unless a platform is chosen.
#pragma once

#include <array>

// The argument vector QApplication gets: the program's name alone. The game takes no command line,
// so Qt's own options (-stylesheet, -reverse, -qwindowgeometry, -platform...) are not honoured.
// QApplication keeps references to the count and the vector: this must outlive it.
class QtArguments {
public:
    QtArguments(int argc, char* argv[]);

    int& argc() { return m_argc; }
    char** argv() { return m_argv.data(); }

private:
    int m_argc = 1;
    std::array<char*, 2> m_argv;
};

// Unless QT_QPA_PLATFORM names a platform, runs on X11, through XWayland in a Wayland session: the
// centred start-up and the task-bar hint are X11 window-manager hints that Wayland's shell lacks.
// Natively on Wayland only where no X server answers.
void preferX11Platform();
