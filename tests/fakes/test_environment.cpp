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
    // A fresh name of our own; creating it is what claims it, so a name taken meanwhile by
    // another test program is passed over.
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; m_dir.empty() && attempt < 100; ++attempt) {
        const auto candidate = base / ("quorvex-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            m_dir = candidate;
    }
    ASSERT_FALSE(m_dir.empty());
    AppInfo info;
    info.directory = m_dir.string();
    setApp(info);
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
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void AppDirTest::writeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
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
