#pragma once

#include "support/app_info.hpp"
#include "support/desktop.hpp"
#include "support/fatal_exit.hpp"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace quorvex::fuzz {

// Thrown where the program would end after a fatal report: a reader that rejects its input
// with the documented fatal report is no finding. Not a std::exception, so no trap takes it.
struct ProgramEnded {};

// A private application directory for the whole run, removed at exit; boxes are answered
// without printing, so that a long run does not flood the terminal, and fatal reports end in
// ProgramEnded instead of the process.
class Environment final : public ConsoleDesktop {
public:
    Environment()
    {
        if (::mkdtemp(m_dir.data()) == nullptr)
            std::abort();
        AppInfo info;
        info.directory = m_dir;
        setApp(info);
        setDesktop(this);
        setFatalExitHandler([] { throw ProgramEnded{}; });
    }
    ~Environment() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    int messageBox(const std::string&, int style, const std::string&) override
    {
        return cautiousAnswer(style);
    }

    // The input written as the file; each input starts with an empty error log, which would
    // otherwise grow for the whole run.
    std::string put(const std::string& name, const uint8_t* data, size_t size) const
    {
        std::filesystem::remove(m_dir + "/quorvex.err");
        std::ofstream(m_dir + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return m_dir + "/" + name;
    }

private:
    std::string m_dir = (std::filesystem::temp_directory_path() / "quorvex-fuzz-XXXXXX").string();
};

// A property of the program that an input broke: stops the run and keeps the input.
inline void require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

} // namespace quorvex::fuzz
