#pragma once

#include "fakes/fixed_clock.hpp"
#include "fakes/scripted_desktop.hpp"
#include "support/app_info.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"
#include "support/fatal_exit.hpp"
#include "support/preferences.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

namespace quorvex::test {

// The number of the RuntimeError that the action throws, 0 when it throws none.
inline int32_t errorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// Thrown by the fatal-exit seam in tests, where the program "ends" after a fatal report.
// Deliberately not a std::exception, so no trap of the program catches it.
struct FatalExitCalled {};

// A fresh application directory under the system's temporary folder, with a fixed clock,
// a scripted desktop and a fatal exit that throws FatalExitCalled. Everything is put back
// (the preferences too) and the folder removed afterwards.
class AppDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A fresh name of our own: creating it claims it, so a name taken by another test
        // program fails the test rather than sharing the folder.
        m_dir = std::filesystem::temp_directory_path() /
                ("quorvex-test-" + std::to_string(std::random_device()()));
        ASSERT_TRUE(std::filesystem::create_directory(m_dir)) << m_dir;
        setApp({.directory = m_dir.string(), .dataDirectory = {}});
        m_clock.set(2026, 12, 5, 10, 0, 0);
        setClock(&m_clock);
        setDesktop(&m_desktop);
        setFatalExitHandler([] { throw FatalExitCalled{}; });
    }
    void TearDown() override
    {
        preferences() = Preferences{};
        setFatalExitHandler({});
        setDesktop(nullptr);
        setClock(nullptr);
        std::error_code ec;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_dir, ec);
    }

    std::filesystem::path dir() const { return m_dir; }
    // A path in the folder, "/" in the name written as the system's separator.
    std::string path(const std::string& name) const
    {
        return (m_dir / name).make_preferred().string();
    }
    // The whole content of a file, as bytes.
    static std::string readFile(const std::filesystem::path& path)
    {
        std::ostringstream out;
        out << std::ifstream(path, std::ios::binary).rdbuf();
        return out.str();
    }
    static void writeFile(const std::filesystem::path& path, const std::string& content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }
    // Each part must stand in the error log; a missing one is reported with the whole log.
    static void expectInErrorLog(std::initializer_list<std::string_view> parts)
    {
        const std::string log = readFile(errorLogPath());
        for (std::string_view part : parts)
            EXPECT_NE(log.find(part), std::string::npos) << part << " is missing in\n" << log;
    }
    // The folder of the built programs (zip stand-in, TestForAccess.mdb, the agent).
    static std::filesystem::path builtAppDir() { return QUORVEX_BUILT_APP_DIR; }

    FixedClock m_clock;
    ScriptedDesktop m_desktop;

private:
    std::filesystem::path m_dir;
};

} // namespace quorvex::test
