// UTF-8 to UTF-16 conversion, the program's name and the last-resort error box.
#include "win32_text.h"

#include "app.h"

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

std::wstring programName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    if (const auto slash = name.find_last_of(L"\\/"); slash != std::wstring::npos)
        name.erase(0, slash + 1);
    if (const auto dot = name.rfind(L'.'); dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

void fatal(std::string_view report)
{
    MessageBoxW(nullptr, widen(report).c_str(), programName().c_str(), MB_ICONSTOP | MB_OK | MB_TASKMODAL);
    ExitProcess(app::App::kRuntimeErrorExit);
}

} // namespace win32
