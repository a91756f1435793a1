#pragma once

#include "support/app_info.hpp"
#include "support/desktop.hpp"
#include "support/fatal_exit.hpp"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace quorvex::fuzz {

// Thrown where the program would end after a fatal report: a reader that rejects its input
// with the documented fatal report is no finding. Not a std::exception, so no trap takes it.
struct ProgramEnded {};

// The console's desktop without its printing, so a long run does not flood the terminal.
class QuietDesktop final : public ConsoleDesktop {
public:
    int messageBox(const std::string&, int style, const std::string&) override
    {
        return cautiousAnswer(style);
    }
};

// A private application directory for the whole run, removed at exit; fatal reports end in
// ProgramEnded instead of the process.
class Environment {
public:
    Environment()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvex-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_dir = pattern;
        std::filesystem::create_directory(m_dir / "DatabaseJobs");
        AppInfo info;
        info.directory = m_dir.string();
        setApp(info);
        setDesktop(&m_desktop);
        setFatalExitHandler([] { throw ProgramEnded{}; });
    }
    ~Environment()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    // Writes the input as the file, and starts each input with an empty error log, which
    // would otherwise grow for the whole run.
    void put(const std::string& name, const uint8_t* data, size_t size) const
    {
        std::filesystem::remove(path("quorvex.err"));
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

private:
    std::filesystem::path m_dir;
    QuietDesktop m_desktop;
};

inline std::string_view textOf(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A property of the program that an input broke: stops the run and keeps the input.
inline void require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

} // namespace quorvex::fuzz
