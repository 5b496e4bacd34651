// Window-manager hints that Qt has no portable call for.
#pragma once

class QWidget;

// Asks the window manager to leave the window out of the task bar and pager. On X11 this is the
// EWMH state _NET_WM_STATE_SKIP_TASKBAR, set on the native window before it is first mapped (Qt
// merges its own states with it); elsewhere it does nothing.
void keepOutOfTaskbar(QWidget& window);
