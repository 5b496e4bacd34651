// Registering the program's own window classes.
#pragma once

#include <windows.h>

namespace win32 {

// Registers a class of this program's windows, with the arrow cursor; a class already registered
// is left as it is, so every front end made in one process shares it.
void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);

} // namespace win32
