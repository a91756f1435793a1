// The fake Access's window as an X window, closed by WM_DELETE_WINDOW as a window manager
// sends it for the close box.
#include "fake_access_window.hpp"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

bool windowCloseRequested(const std::string& title, Clock::time_point deadline)
{
    xcb_connection_t* const x = xcb_connect(nullptr, nullptr);
    const auto atom = [x](const char* name) {
        const auto length = static_cast<uint16_t>(std::strlen(name));
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, length, name), nullptr);
        const xcb_atom_t result = reply->atom;
        std::free(reply);
        return result;
    };
    const xcb_window_t window = xcb_generate_id(x);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    xcb_create_window(x, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 320, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(x, window);
    const uint32_t pid = static_cast<uint32_t>(getpid());
    const xcb_atom_t protocols = atom("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom("WM_DELETE_WINDOW");
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL,
                        32, 1, &pid);
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32, 1,
                        &deleteWindow);
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(title.size()), title.data());
    xcb_flush(x);
    // Requests sent to the window reach the program that made it without any event mask.
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    bool closed = false;
    while (!closed && Clock::now() < deadline && !xcb_connection_has_error(x)) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            closed =
                closed || ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                           message->type == protocols && message->data.data32[0] == deleteWindow);
            std::free(event);
        }
        poll(&fd, 1, 5);
    }
    xcb_disconnect(x);
    return closed;
}
