#include "fakes/test_environment.hpp"

#include "support/app_info.hpp"
#include "support/fatal_exit.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorvex::test {

void AppDirTest::SetUp()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvex-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
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

std::filesystem::path AppDirTest::builtAppDir()
{
    return QUORVEX_BUILT_APP_DIR;
}

} // namespace quorvex::test
