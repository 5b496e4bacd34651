// Builds a top-level window from its definition: frame, menu, controls, lines, stacking and tab order.
#include "ui/win32/win32_form.h"

#include "ui/app/layout.h"
#include "ui/app/errors.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_widgets.h"
#include "ui/win32/win32_window_class.h"

#include <algorithm>
#include <string>

namespace win32 {
namespace {

constexpr wchar_t kFormClass[] = L"GloutoForm";
constexpr int kFirstControlId = 100;
constexpr int kFirstMenuId = 1000;

// Fixed frames: a caption with a close box, no minimise or maximise box, no sizing border.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

DWORD extendedStyle(forms::BorderStyle border)
{
    return border == forms::BorderStyle::FixedToolWindow ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME;
}

RECT workArea()
{
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

} // namespace

void FormWindow::registerClass(HINSTANCE instance, HICON icon)
{
    registerWindowClass(instance, kFormClass, windowProc, icon);
    registerPictureClass(instance);
}

FormWindow* FormWindow::of(HWND root)
{
    wchar_t name[std::size(kFormClass) + 1] = {};
    if (!root || !GetClassNameW(root, name, static_cast<int>(std::size(name))) || std::wstring_view(name) != kFormClass)
        return nullptr;
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

FormWindow::FormWindow(app::FormId id, const forms::FormDef& definition, HINSTANCE instance, PictureCache& pictures,
                       HWND owner, app::Input& input, Keyboard& keyboard)
    : m_id(id), m_definition(definition), m_instance(instance), m_pictures(pictures), m_input(input)
    , m_keyboard(keyboard)
{
    const DWORD exStyle = extendedStyle(definition.border);
    HMENU bar = definition.menus.empty() ? nullptr : CreateMenu();
    buildMenus(bar);
    RECT frame{0, 0, app::pixels(definition.clientWidth), app::pixels(definition.clientHeight)};
    AdjustWindowRectEx(&frame, kFormStyle, bar != nullptr, exStyle);
    CreateWindowExW(exStyle, kFormClass, widen(definition.caption).c_str(), kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, owner, bar, instance, this);
    if (!m_hwnd) {
        if (bar)
            DestroyMenu(bar);
        throw app::internalError("CreateWindowEx " + std::string(definition.name));
    }
    try {
        buildControls();
        fitClientArea();
    } catch (...) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
        throw;
    }
}

FormWindow::~FormWindow()
{
    if (m_hwnd) {
        // No message of the dying window may reach this object any more.
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

void FormWindow::buildMenus(HMENU bar)
{
    int id = kFirstMenuId;
    for (const forms::MenuDef& menu : m_definition.menus) {
        HMENU popup = CreatePopupMenu();
        for (const forms::MenuItemDef& item : menu.items) {
            if (item.separator) {
                AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(id), widen(item.caption).c_str());
            m_menuItems.emplace(id++, item.name);
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), widen(menu.caption).c_str());
    }
}

void FormWindow::buildControls()
{
    int id = kFirstControlId;
    for (const forms::ControlDef& def : m_definition.controls) {
        HWND parent = def.container.empty() ? m_hwnd : child(def.container);
        HWND hwnd = createControl(def, parent, id);
        if (!hwnd)
            throw app::internalError("CreateWindowEx " + std::string(def.name));
        if (def.kind == forms::ControlKind::Frame)
            makeFrameContainer(hwnd, m_hwnd, m_definition.lines, def.name);
        m_children.emplace(def.name, hwnd);
        m_controlIds.emplace(id++, &def);
    }
    // Raising each in turn from the bottom of the stack leaves the last on top.
    for (const std::size_t i : app::stackingOrder(m_definition))
        SetWindowPos(child(m_definition.controls[i].name), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const std::size_t i : app::tabOrder(m_definition))
        m_tabOrder.push_back(child(m_definition.controls[i].name));
}

HWND FormWindow::createControl(const forms::ControlDef& def, HWND parent, int id)
{
    using enum forms::ControlKind;
    const app::PixelRect place = app::pixelRect(def);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (def.visible ? WS_VISIBLE : 0);
    if (def.kind == PictureBox || def.kind == Image)
        return createPicture(parent, m_pictures.get(def.picture),
                             RECT{place.x, place.y, place.x + place.width, place.y + place.height}, style, id,
                             m_instance);

    const wchar_t* windowClass = L"BUTTON";
    DWORD exStyle = 0;
    switch (def.kind) {
    case Label:
        windowClass = L"STATIC";
        style |= SS_NOPREFIX | (def.align == forms::TextAlign::Centre ? SS_CENTER
                                : def.wordWrap                         ? SS_LEFT
                                                                       : SS_LEFTNOWORDWRAP);
        break;
    case Button:
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case PictureButton:
        // Loaded now, so that a missing picture fails while the window is built.
        m_pictures.get(def.picture);
        m_pictures.get(def.pressedPicture);
        style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
    case Frame:
        style |= BS_GROUPBOX | WS_CLIPCHILDREN;
        break;
    case TextBox:
        windowClass = L"EDIT";
        exStyle = WS_EX_CLIENTEDGE;
        style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
        break;
    case PictureBox:
    case Image:
        break;
    }
    HWND hwnd = CreateWindowExW(exStyle, windowClass, widen(def.caption).c_str(), style, place.x, place.y,
                                place.width, place.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_instance, nullptr);
    if (hwnd)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return hwnd;
}

void FormWindow::fitClientArea()
{
    // The menu bar may take more than one line of a narrow window: grow the frame until the
    // client area has its exact size, then centre the whole window, frame included, on the
    // screen's work area.
    RECT client, frame;
    GetClientRect(m_hwnd, &client);
    GetWindowRect(m_hwnd, &frame);
    const int width = frame.right - frame.left + app::pixels(m_definition.clientWidth) - client.right;
    const int height = frame.bottom - frame.top + app::pixels(m_definition.clientHeight) - client.bottom;
    const RECT area = workArea();
    int x = frame.left, y = frame.top;
    if (m_definition.centred) {
        x = area.left + (area.right - area.left - width) / 2;
        y = area.top + (area.bottom - area.top - height) / 2;
    }
    SetWindowPos(m_hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND FormWindow::child(std::string_view name) const
{
    const auto found = m_children.find(name);
    if (found == m_children.end())
        throw app::objectRequired(name);
    return found->second;
}

void FormWindow::showAndActivate()
{
    if (!m_hwnd)
        return;
    if (!IsWindowVisible(m_hwnd))
        ShowWindow(m_hwnd, SW_SHOW);
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(m_hwnd);
}

void FormWindow::unload()
{
    // Off the screen and deaf at once; the object itself lives on until the application layer
    // lets it go.
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

void FormWindow::moveControl(std::size_t control, app::PixelPoint at)
{
    if (m_hwnd)
        SetWindowPos(child(m_definition.controls[control].name), nullptr, at.x, at.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::setControlVisible(std::size_t control, bool visible)
{
    if (m_hwnd)
        ShowWindow(child(m_definition.controls[control].name), visible ? SW_SHOWNA : SW_HIDE);
}

void FormWindow::setControlCaption(std::size_t control, std::string_view text)
{
    if (m_hwnd)
        SetWindowTextW(child(m_definition.controls[control].name), widen(text).c_str());
}

HWND FormWindow::firstTabStop() const
{
    for (HWND hwnd : m_tabOrder)
        if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
            return hwnd;
    return nullptr;
}

bool FormWindow::preTranslate(const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || m_tabOrder.empty() || !m_hwnd ||
        (message.hwnd != m_hwnd && !IsChild(m_hwnd, message.hwnd)))
        return false;
    const std::size_t count = m_tabOrder.size();
    const std::size_t step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    const auto current = std::ranges::find(m_tabOrder, GetFocus());
    // From no focus, forward starts at the first and backward at the last.
    std::size_t at = current != m_tabOrder.end() ? static_cast<std::size_t>(current - m_tabOrder.begin())
                                                 : (step == 1 ? count - 1 : 0);
    for (std::size_t tried = 0; tried < count; ++tried) {
        at = (at + step) % count;
        if (IsWindowVisible(m_tabOrder[at]) && IsWindowEnabled(m_tabOrder[at])) {
            SetFocus(m_tabOrder[at]);
            break;
        }
    }
    return true;
}

} // namespace win32
