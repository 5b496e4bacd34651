// A Weston module for tests: on SIGUSR2 the compositor asks each of its windows to close, as a
// close box drawn by the compositor does (xdg_toplevel.close; WM_DELETE_WINDOW under XWayland).
#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>

#include <csignal>

namespace {

int closeEveryWindow(int, void* data)
{
    auto* compositor = static_cast<weston_compositor*>(data);
    weston_view* view = nullptr;
    // Only windows have a desktop surface: the shell's background and panel have none.
    wl_list_for_each(view, &compositor->view_list, link) {
        if (weston_desktop_surface* window = weston_surface_get_desktop_surface(view->surface))
            weston_desktop_surface_close(window);
    }
    return 0;
}

} // namespace

// SIGUSR1 is taken: Xwayland tells Weston with it that it is ready.
extern "C" WL_EXPORT int wet_module_init(weston_compositor* compositor, int*, char*[])
{
    wl_event_loop* loop = wl_display_get_event_loop(compositor->wl_display);
    return wl_event_loop_add_signal(loop, SIGUSR2, closeEveryWindow, compositor) ? 0 : -1;
}
