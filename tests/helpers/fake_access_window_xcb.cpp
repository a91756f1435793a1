// The fake Access's window as an X window, closed by WM_DELETE_WINDOW as a window manager
// sends it for the close box.
#include "fake_access_window.hpp"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

WindowOutcome runWithWindow(const std::string& finalTitle, std::chrono::milliseconds titleDelay,
                            Clock::time_point deadline)
{
    xcb_connection_t* const x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        xcb_disconnect(x);
        return WindowOutcome::NoDisplay;
    }
    const auto atom = [x](const char* name) {
        const auto length = static_cast<uint16_t>(std::strlen(name));
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, length, name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return result;
    };
    const xcb_window_t window = xcb_generate_id(x);
    const auto set = [&](xcb_atom_t property, xcb_atom_t type, uint8_t format, uint32_t length,
                         const void* data) {
        xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, property, type, format, length, data);
    };
    const auto setTitle = [&](const std::string& title) {
        const auto length = static_cast<uint32_t>(title.size());
        set(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, length, title.data());
        set(atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, length, title.data());
        xcb_flush(x);
    };
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_create_window(x, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 320, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK,
                      &events);
    const uint32_t pid = static_cast<uint32_t>(getpid());
    const xcb_atom_t protocols = atom("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom("WM_DELETE_WINDOW");
    set(atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    set(protocols, XCB_ATOM_ATOM, 32, 1, &deleteWindow);
    setTitle("Microsoft Access");
    xcb_map_window(x, window);
    xcb_flush(x);
    // Handles events until then; true when a close request came.
    const auto closeRequested = [&](Clock::time_point until) {
        pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
        for (auto now = Clock::now(); now < until; now = Clock::now()) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
                const bool close = (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                                   message->type == protocols &&
                                   message->data.data32[0] == deleteWindow;
                std::free(event);
                if (close)
                    return true;
            }
            if (xcb_connection_has_error(x))
                return false;
            poll(&fd, 1, static_cast<int>((until - now) / std::chrono::milliseconds(1)) + 1);
        }
        return false;
    };
    bool closed = closeRequested(Clock::now() + titleDelay);
    if (!closed) {
        setTitle(finalTitle);
        closed = closeRequested(deadline);
    }
    xcb_disconnect(x);
    return closed ? WindowOutcome::CloseRequested : WindowOutcome::TimedOut;
}
