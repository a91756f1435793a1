// Stands in for Microsoft Access in tests. Started like Access (database path first, then its
// switches), it writes every argument it received, one per line, to "<database>.args" and
// then behaves as the environment asks:
//   FAKE_ACCESS_EXIT_CODE      the exit code (default 0)
//   FAKE_ACCESS_LOCK           a file created at start and removed at exit, as Access holds
//                              its lock file while the database is open
//   FAKE_ACCESS_RUN_WHILE      a file: without a window, stay running while it exists, so a
//                              test decides when "Access" ends
//   FAKE_ACCESS_TITLE          show an X window titled "Microsoft Access", retitle it to this
//                              text after FAKE_ACCESS_TITLE_DELAY_MS (default 100), then wait
//                              for a close request (WM_DELETE_WINDOW) and exit when it comes
//   FAKE_ACCESS_TIMEOUT_MS     how long it waits for either (default 10000); it then exits
//                              with kTimedOut, so a test never hangs
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kTimedOut = 124;
constexpr int kNoDisplay = 125;

using Clock = std::chrono::steady_clock;

int envNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// Shows the window, retitles it and waits for a close request until the deadline.
int runWithWindow(const std::string& finalTitle, Clock::time_point deadline)
{
    xcb_connection_t* const x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "fake_access: no X display for a window\n");
        xcb_disconnect(x);
        return kNoDisplay;
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
    // Handles events until the deadline; true when a close request came.
    const auto closeRequested = [&](Clock::time_point deadline) {
        pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
        for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
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
            poll(&fd, 1, static_cast<int>((deadline - now) / std::chrono::milliseconds(1)) + 1);
        }
        return false;
    };
    const auto delay = std::chrono::milliseconds(envNumber("FAKE_ACCESS_TITLE_DELAY_MS", 100));
    bool closed = closeRequested(Clock::now() + delay);
    if (!closed) {
        setTitle(finalTitle);
        closed = closeRequested(deadline);
    }
    xcb_disconnect(x);
    return closed ? envNumber("FAKE_ACCESS_EXIT_CODE", 0) : kTimedOut;
}

int behave()
{
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(envNumber("FAKE_ACCESS_TIMEOUT_MS", 10000));
    if (const char* title = std::getenv("FAKE_ACCESS_TITLE"))
        return runWithWindow(title, deadline);
    for (const char* hold = std::getenv("FAKE_ACCESS_RUN_WHILE");
         hold && access(hold, F_OK) == 0;) {
        if (Clock::now() >= deadline)
            return kTimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return envNumber("FAKE_ACCESS_EXIT_CODE", 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) {
        std::ofstream out(std::string(argv[1]) + ".args", std::ios::binary);
        for (int i = 1; i < argc; ++i)
            out << argv[i] << '\n';
    }
    const char* lock = std::getenv("FAKE_ACCESS_LOCK");
    if (lock && *lock)
        std::ofstream(lock).put('\n');
    const int code = behave();
    if (lock && *lock)
        std::remove(lock);
    return code;
}
