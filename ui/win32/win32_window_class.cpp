// One registration for the form, picture and clock window classes.
#include "ui/win32/win32_window_class.h"

#include "ui/app/errors.h"

namespace win32 {

void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, name, &windowClass))
        return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    // Else the first window of the class would fail with a less telling error.
    if (!RegisterClassExW(&windowClass))
        throw app::internalError("RegisterClassEx");
}

} // namespace win32
