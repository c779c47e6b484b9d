// Starts a program and prints how long it took until X mapped its first top-level window:
// "<ms> <pid>", the time from just before the fork to the MapNotify event. The program is left
// running. Usage: tk700-bench-mapwait [--name TITLE] PROGRAM [ARGS...]
// Without a window manager, top-level windows are children of the root window, so a
// SubstructureNotify subscription on the root sees each map exactly when it happens.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace
{

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

std::string titleOf(xcb_connection_t *c, xcb_window_t w)
{
    xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    if (!reply)
        return {};
    std::string title(static_cast<const char *>(xcb_get_property_value(reply)),
                      size_t(xcb_get_property_value_length(reply)));
    free(reply);
    return title;
}

} // namespace

int main(int argc, char *argv[])
{
    int first = 1;
    const char *name = nullptr;
    if (argc > 3 && std::strcmp(argv[1], "--name") == 0) {
        name = argv[2];
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--name TITLE] PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "mapwait: no X display\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    // Subscribed before the program starts.
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        // The program's output must not hold our reader's pipe open after we have answered.
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        close(devNull);
        execvp(argv[first], argv + first);
        _exit(127);
    }
    while (xcb_generic_event_t *event = xcb_wait_for_event(c)) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        const xcb_window_t window =
            mapped ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window : 0;
        free(event);
        if (!mapped)
            continue;
        const double at = nowMs();
        if (name && titleOf(c, window) != name)
            continue;
        std::printf("%.1f %d\n", at - start, int(pid));
        std::fflush(stdout);
        xcb_disconnect(c);
        return 0;
    }
    return 1;
}
