#include "fakes/test_environment.hpp"

#include "support/app_info.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"
#include "support/fatal_exit.hpp"
#include "support/preferences.hpp"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace quorvex::test {

int32_t errorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

void AppDirTest::SetUp()
{
    // A fresh name of our own: creating it claims it, so a name taken by another test program
    // fails the test rather than sharing the folder.
    m_dir = std::filesystem::temp_directory_path() /
            ("quorvex-test-" + std::to_string(std::random_device()()));
    ASSERT_TRUE(std::filesystem::create_directory(m_dir)) << m_dir;
    setApp({.directory = m_dir.string(), .dataDirectory = {}});
    m_clock.set(2026, 12, 5, 10, 0, 0);
    setClock(&m_clock);
    setDesktop(&m_desktop);
    setFatalExitHandler([] { throw FatalExitCalled{}; });
}

void AppDirTest::TearDown()
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

std::string AppDirTest::readFile(const std::filesystem::path& path)
{
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

void AppDirTest::writeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

void AppDirTest::expectInErrorLog(std::initializer_list<std::string_view> parts)
{
    const std::string log = readFile(errorLogPath());
    for (std::string_view part : parts)
        EXPECT_NE(log.find(part), std::string::npos) << part << " is missing in\n" << log;
}

std::filesystem::path AppDirTest::builtAppDir()
{
    return QUORVEX_BUILT_APP_DIR;
}

} // namespace quorvex::test
