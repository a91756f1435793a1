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

void writeArguments(int argc, char** argv)
{
    if (argc < 2)
        return;
    std::ofstream out(std::string(argv[1]) + ".args", std::ios::binary);
    for (int i = 1; i < argc; ++i)
        out << argv[i] << '\n';
}

class LockFile {
public:
    explicit LockFile(const char* path) : m_path(path ? path : "")
    {
        if (!m_path.empty())
            std::ofstream(m_path).put('\n');
    }
    ~LockFile()
    {
        if (!m_path.empty())
            std::remove(m_path.c_str());
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

private:
    std::string m_path;
};

class FakeWindow {
public:
    FakeWindow()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_protocols = atom("WM_PROTOCOLS");
        m_deleteWindow = atom("WM_DELETE_WINDOW");
        m_window = xcb_generate_id(m_connection);
        const uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 320,
                          200, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_EVENT_MASK, &events);
        const uint32_t pid = static_cast<uint32_t>(getpid());
        setProperty(atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
        setProperty(m_protocols, XCB_ATOM_ATOM, 32, 1, &m_deleteWindow);
        setTitle("Microsoft Access");
        xcb_map_window(m_connection, m_window);
        xcb_flush(m_connection);
    }
    ~FakeWindow() { xcb_disconnect(m_connection); }
    FakeWindow(const FakeWindow&) = delete;
    FakeWindow& operator=(const FakeWindow&) = delete;

    bool open() const { return m_window != 0; }

    void setTitle(const std::string& title)
    {
        const auto length = static_cast<uint32_t>(title.size());
        setProperty(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, length, title.data());
        setProperty(atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, length, title.data());
        xcb_flush(m_connection);
    }

    // Handles events until the deadline; true when a close request came.
    bool waitForCloseRequest(Clock::time_point deadline)
    {
        pollfd x{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool close = isCloseRequest(event);
                std::free(event);
                if (close)
                    return true;
            }
            if (xcb_connection_has_error(m_connection))
                return false;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
            poll(&x, 1, static_cast<int>(left) + 1);
        }
        return false;
    }

private:
    xcb_atom_t atom(const char* name)
    {
        const auto cookie =
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return result;
    }

    void setProperty(xcb_atom_t property, xcb_atom_t type, uint8_t format, uint32_t length,
                     const void* data)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, property, type, format,
                            length, data);
    }

    bool isCloseRequest(const xcb_generic_event_t* event) const
    {
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
        return message->type == m_protocols && message->data.data32[0] == m_deleteWindow;
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_window = 0;
    xcb_atom_t m_protocols = XCB_ATOM_NONE;
    xcb_atom_t m_deleteWindow = XCB_ATOM_NONE;
};

Clock::time_point timeoutFrom(Clock::time_point start)
{
    return start + std::chrono::milliseconds(envNumber("FAKE_ACCESS_TIMEOUT_MS", 10000));
}

int runWhileExists(const char* holdFile)
{
    const auto deadline = timeoutFrom(Clock::now());
    while (access(holdFile, F_OK) == 0) {
        if (Clock::now() >= deadline)
            return kTimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return envNumber("FAKE_ACCESS_EXIT_CODE", 0);
}

int runWithWindow(const std::string& finalTitle)
{
    FakeWindow window;
    if (!window.open()) {
        std::fprintf(stderr, "fake_access: no X display for a window\n");
        return kNoDisplay;
    }
    const auto start = Clock::now();
    const auto retitleAt =
        start + std::chrono::milliseconds(envNumber("FAKE_ACCESS_TITLE_DELAY_MS", 100));
    const auto deadline = timeoutFrom(start);
    if (window.waitForCloseRequest(retitleAt))
        return envNumber("FAKE_ACCESS_EXIT_CODE", 0);
    window.setTitle(finalTitle);
    return window.waitForCloseRequest(deadline) ? envNumber("FAKE_ACCESS_EXIT_CODE", 0) : kTimedOut;
}

} // namespace

int main(int argc, char** argv)
{
    writeArguments(argc, argv);
    const LockFile lock(std::getenv("FAKE_ACCESS_LOCK"));
    if (const char* title = std::getenv("FAKE_ACCESS_TITLE"))
        return runWithWindow(title);
    if (const char* holdFile = std::getenv("FAKE_ACCESS_RUN_WHILE"))
        return runWhileExists(holdFile);
    return envNumber("FAKE_ACCESS_EXIT_CODE", 0);
}
