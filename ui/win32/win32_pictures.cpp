// Loading the bitmap resources and drawing them unscaled.
#include "ui/win32/win32_pictures.h"

#include "ui/app/errors.h"
#include "ui/win32/win32_text.h"

namespace win32 {

PictureCache::~PictureCache()
{
    for (const auto& [name, bitmap] : m_bitmaps)
        DeleteObject(bitmap);
}

HBITMAP PictureCache::get(std::string_view name)
{
    if (name.empty())
        return nullptr;
    if (const auto found = m_bitmaps.find(name); found != m_bitmaps.end())
        return found->second;
    // A DIB section keeps the 24-bit colours exactly, whatever the screen's depth.
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(m_instance, widen(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        throw app::missingPicture(name);
    m_bitmaps.emplace(std::string(name), bitmap);
    return bitmap;
}

SIZE bitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y)
{
    if (!bitmap)
        return;
    const SIZE size = bitmapSize(bitmap);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

} // namespace win32
