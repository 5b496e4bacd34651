// The game's pictures: bitmap resources named as in the window definitions, and their drawing.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace win32 {

class PictureCache {
public:
    explicit PictureCache(HINSTANCE instance) : m_instance(instance) {}
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The bitmap of that resource name, loaded once; an unknown name raises the object-required
    // error. An empty name gives nullptr.
    HBITMAP get(std::string_view name);

private:
    HINSTANCE m_instance;
    std::map<std::string, HBITMAP, std::less<>> m_bitmaps;
};

SIZE bitmapSize(HBITMAP bitmap);

// Draws the bitmap at its natural size with its top-left corner at (x, y).
void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y);

} // namespace win32
