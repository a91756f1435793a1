#include "platform/windows.hpp"

#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

namespace quorvex {

struct TopLevelWindows::Display {
    xcb_connection_t* connection = nullptr;
    xcb_ewmh_connection_t ewmh{};
    bool ewmhReady = false;
    int screen = 0;
    xcb_window_t root = 0;
    xcb_atom_t deleteWindow = XCB_ATOM_NONE;

    ~Display()
    {
        if (ewmhReady)
            xcb_ewmh_connection_wipe(&ewmh);
        xcb_disconnect(connection);
    }

    // Requests whose errors nobody reads (the close request to a window that just went)
    // leave them in the event queue; this program never wants them.
    void dropPendingEvents() const
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
            std::free(event);
    }

    xcb_atom_t internAtom(const char* name) const
    {
        const auto cookie =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    // The windows to look through. A window manager keeps the list of the windows it manages
    // (_NET_CLIENT_LIST, in the order they were mapped); without one (a bare X server such as
    // Xvfb) that list is missing and the top-level windows are the root window's children,
    // which carry the _NET_WM_PID their programs set on them.
    std::vector<xcb_window_t> topLevelWindows()
    {
        xcb_ewmh_get_windows_reply_t clients;
        if (xcb_ewmh_get_client_list_reply(&ewmh, xcb_ewmh_get_client_list(&ewmh, screen), &clients,
                                           nullptr)) {
            std::vector<xcb_window_t> windows(clients.windows,
                                              clients.windows + clients.windows_len);
            xcb_ewmh_get_windows_reply_wipe(&clients);
            return windows;
        }
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
        if (!tree)
            return {};
        const xcb_window_t* children = xcb_query_tree_children(tree);
        std::vector<xcb_window_t> windows(children,
                                          children + xcb_query_tree_children_length(tree));
        std::free(tree);
        return windows;
    }

    std::string utf8Name(xcb_window_t window)
    {
        xcb_ewmh_get_utf8_strings_reply_t name;
        if (!xcb_ewmh_get_wm_name_reply(&ewmh, xcb_ewmh_get_wm_name(&ewmh, window), &name, nullptr))
            return {};
        std::string text(name.strings, name.strings_len);
        xcb_ewmh_get_utf8_strings_reply_wipe(&name);
        return text;
    }

    // The classic WM_NAME (Latin-1 or compound text), kept as bytes: the title is only ever
    // compared on its plain ASCII start. 64 units of four bytes cover the 255 characters a
    // title is read with.
    std::string classicName(xcb_window_t window) const
    {
        const auto cookie = xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                             XCB_GET_PROPERTY_TYPE_ANY, 0, 64);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
        if (!reply)
            return {};
        std::string text(static_cast<const char*>(xcb_get_property_value(reply)),
                         static_cast<size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
        return text;
    }
};

TopLevelWindows::TopLevelWindows()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return;
    auto display = std::make_unique<Display>();
    display->connection = xcb_connect(nullptr, &display->screen);
    if (xcb_connection_has_error(display->connection))
        return;
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(display->connection, &display->ewmh);
    display->ewmhReady = xcb_ewmh_init_atoms_replies(&display->ewmh, cookies, nullptr) != 0;
    if (!display->ewmhReady || display->screen >= display->ewmh.nb_screens)
        return;
    display->root = display->ewmh.screens[display->screen]->root;
    display->deleteWindow = display->internAtom("WM_DELETE_WINDOW");
    m_display = std::move(display);
}

TopLevelWindows::~TopLevelWindows() = default;

TopLevelWindows::Handle TopLevelWindows::findWindowOfProcess(int processId)
{
    if (!m_display)
        return kNoWindow;
    const std::vector<xcb_window_t> windows = m_display->topLevelWindows();
    // Every question goes out before the first answer is read: one round trip in all.
    std::vector<xcb_get_property_cookie_t> cookies;
    for (xcb_window_t window : windows)
        cookies.push_back(xcb_ewmh_get_wm_pid(&m_display->ewmh, window));
    Handle found = kNoWindow;
    for (size_t i = 0; i < windows.size(); ++i) {
        uint32_t pid = 0;
        if (xcb_ewmh_get_wm_pid_reply(&m_display->ewmh, cookies[i], &pid, nullptr) &&
            found == kNoWindow && pid == static_cast<uint32_t>(processId))
            found = windows[i];
    }
    m_display->dropPendingEvents();
    return found;
}

std::string TopLevelWindows::windowText(Handle window)
{
    if (!m_display || window == kNoWindow)
        return {};
    std::string title = m_display->utf8Name(window);
    if (title.empty())
        title = m_display->classicName(window);
    m_display->dropPendingEvents();
    // A title property may hold several texts separated by NULs; the title is the first.
    return title.substr(0, title.find('\0'));
}

void TopLevelWindows::requestClose(Handle window)
{
    if (!m_display || window == kNoWindow)
        return;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = m_display->ewmh.WM_PROTOCOLS;
    message.data.data32[0] = m_display->deleteWindow;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_display->connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(m_display->connection);
}

} // namespace quorvex
