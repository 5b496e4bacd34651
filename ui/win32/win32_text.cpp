// UTF-8 to UTF-16 conversion and the last-resort error box.
#include "ui/win32/win32_text.h"


#include <windows.h>

namespace win32 {

std::wstring widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

UINT boxStyle(app::BoxIcon icon)
{
    switch (icon) {
    case app::BoxIcon::Stop: return MB_ICONSTOP | MB_OK;
    }
    return MB_OK;
}

void fatal(std::string_view report)
{
    MessageBoxW(nullptr, widen(report).c_str(), widen(app::kProgramName).c_str(), boxStyle(app::BoxIcon::Stop) | MB_TASKMODAL);
    ExitProcess(app::kRuntimeErrorStatus);
}

} // namespace win32
