// Picture windows, frame containers, lines and picture buttons.
#include "ui/win32/win32_widgets.h"

#include "ui/app/layout.h"
#include "ui/win32/win32_pictures.h"
#include "ui/win32/win32_window_class.h"

#include <commctrl.h>

#include <string>

namespace win32 {
namespace {

constexpr wchar_t kPictureClass[] = L"GloutoPicture";

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_ERASEBKGND:
        // WM_PAINT covers every pixel.
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        FillRect(dc, &paint.rcPaint, boardBrush());
        drawBitmap(dc, reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)), 0, 0);
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct FrameData {
    HWND form;
    std::span<const forms::LineDef> lines;
    std::string name;
};

LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    auto* frame = reinterpret_cast<FrameData*>(data);
    switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        // The controls inside report to their parent; the form is the one that knows them.
        return SendMessageW(frame->form, message, wParam, lParam);
    case WM_ERASEBKGND: {
        // A group box paints only its edge and caption.
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        // Drawn after the edge, clipped by the controls inside (WS_CLIPCHILDREN).
        HDC dc = GetDC(hwnd);
        paintLines(dc, frame->lines, frame->name);
        ReleaseDC(hwnd, dc);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, frameProc, id);
        delete frame;
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

HBRUSH boardBrush()
{
    // Made once and kept for the process's life, as the system's own stock brushes are.
    static const HBRUSH brush =
        CreateSolidBrush(RGB(forms::kBoardColour.red, forms::kBoardColour.green, forms::kBoardColour.blue));
    return brush;
}

HBRUSH backgroundBrush(forms::SystemColour colour)
{
    switch (colour) {
    case forms::SystemColour::WindowFrame:
        // The board's pictures must make one surface with it, whatever window-frame colour the
        // system has (Wine's default is grey).
        return boardBrush();
    case forms::SystemColour::ButtonFace:
        break;
    }
    return GetSysColorBrush(COLOR_BTNFACE);
}

void registerPictureClass(HINSTANCE instance)
{
    registerWindowClass(instance, kPictureClass, pictureProc);
}

HWND createPicture(HWND parent, HBITMAP bitmap, const RECT& bounds, DWORD style, int id, HINSTANCE instance)
{
    return CreateWindowExW(0, kPictureClass, L"", style, bounds.left, bounds.top, bounds.right - bounds.left,
                           bounds.bottom - bounds.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           instance, bitmap);
}

void makeFrameContainer(HWND groupBox, HWND form, std::span<const forms::LineDef> lines, std::string_view frameName)
{
    SetWindowSubclass(groupBox, frameProc, 1,
                      reinterpret_cast<DWORD_PTR>(new FrameData{form, lines, std::string(frameName)}));
}

void paintLines(HDC dc, std::span<const forms::LineDef> lines, std::string_view container)
{
    for (const forms::LineDef& line : lines) {
        if (line.container != container)
            continue;
        HPEN pen = CreatePen(PS_SOLID, line.borderWidthPixels, GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ previous = SelectObject(dc, pen);
        MoveToEx(dc, app::pixels(line.x1), app::pixels(line.y1), nullptr);
        LineTo(dc, app::pixels(line.x2), app::pixels(line.y2));
        SelectObject(dc, previous);
        DeleteObject(pen);
    }
}

void drawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture, HBITMAP pressedPicture)
{
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    HBITMAP shown = (pressed || disabled) && pressedPicture ? pressedPicture : picture;
    const SIZE size = bitmapSize(shown);
    const RECT& r = item.rcItem;
    const int saved = SaveDC(item.hDC);
    // The pictures are a little larger than the buttons: keep the bevel's edge visible.
    IntersectClipRect(item.hDC, r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    drawBitmap(item.hDC, shown, r.left + (r.right - r.left - size.cx) / 2, r.top + (r.bottom - r.top - size.cy) / 2);
    RestoreDC(item.hDC, saved);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

} // namespace win32
