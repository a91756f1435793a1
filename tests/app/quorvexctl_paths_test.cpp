// quorvexctl paths: where the data folder lies, by the program folder's mode and the user's
// environment (Linux's own: modes, users and the XDG folders).
#include "fakes/test_environment.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace quorvex {
namespace {

// A copy of quorvexctl in a program folder of its own, run with a home of its own. A program
// folder the user may not write is made so by its mode, or for root by running as nobody.
class PathsTest : public test::AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        std::filesystem::create_directories(program());
        std::filesystem::create_directories(home());
        std::filesystem::copy_file(QUORVEXCTL_PATH, program() / "quorvexctl");
        if (geteuid() == 0) {
            std::filesystem::permissions(dir(), std::filesystem::perms(0755));
            ASSERT_EQ(chown(home().c_str(), kNobody, kNobody), 0);
        }
    }
    void TearDown() override
    {
        std::filesystem::permissions(program(), std::filesystem::perms(0755));
        AppDirTest::TearDown();
    }

    std::filesystem::path program() const { return dir() / "program"; }
    std::filesystem::path home() const { return dir() / "home"; }
    // quorvexctl paths with the environment given; the program folder read-only or not.
    auto paths(bool readOnly, const std::string& xdgDataHome, const std::string& more = {}) const
    {
        std::filesystem::permissions(program(), std::filesystem::perms(readOnly ? 0555 : 0755));
        std::string command = "HOME='" + home().string() + "' XDG_DATA_HOME='" + xdgDataHome + "' ";
        if (readOnly && geteuid() == 0)
            command += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        command += "'" + (program() / "quorvexctl").string() + "' paths " + more;
        const std::string out = path("paths.txt");
        const int status =
            std::system((command + " >'" + out + "' 2>'" + path("err.txt") + "'").c_str());
        return std::pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out));
    }
    static std::string listing(const std::string& program, const std::string& data)
    {
        return "program\t" + program + "\ndata\t" + data + "\njobs\t" + data +
               "/DatabaseJobs/\npreferences\t" + data + "/Quorvex.ini\nlog\t" + data +
               "/quorvex.log\nerrors\t" + data + "/quorvex.err\nlock\t" + data + "/quorvex.lock\n";
    }

    static constexpr uid_t kNobody = 65534;
};

TEST_F(PathsTest, DataFolderIsTheProgramFolderWhenWritableElseTheUsersDataHomeOrStatusOne)
{
    const std::string prog = program().string();
    const std::string xdg = (home() / "xdg").string();
    const std::string local = (home() / ".local/share").string();
    // clang-format off
    const std::vector<std::tuple<bool, std::string, std::string, std::string>> cases = {
        {false, xdg, "", prog},
        {false, xdg, "--app-dir " + dir().string(), dir().string()},
        {true, xdg, "", xdg + "/quorvex"},
        {true, "relative/ignored", "", local + "/quorvex"},
        {true, "", "", local + "/quorvex"},
        {true, xdg, "--app-dir " + dir().string(), dir().string()}};
    // clang-format on
    for (const auto& [readOnly, xdgDataHome, more, data] : cases) {
        SCOPED_TRACE(xdgDataHome + " " + more);
        EXPECT_EQ(paths(readOnly, xdgDataHome, more), std::pair(0, listing(prog, data)));
    }
    // Made on first use, open to the user only; nothing was written into the program folder.
    for (const std::string& made : {xdg + "/quorvex", local + "/quorvex"})
        EXPECT_EQ(std::filesystem::status(made).permissions(), std::filesystem::perms(0700));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program()), {}), 1);
    // One that cannot be made ends quorvexctl with status 1, saying why.
    writeFile(home() / "file", "");
    EXPECT_EQ(paths(true, (home() / "file").string()), std::pair(1, std::string()));
    const std::string err = readFile(path("err.txt"));
    EXPECT_TRUE(err.starts_with("quorvexctl: cannot create the data folder " +
                                (home() / "file/quorvex").string() + ": "))
        << err;
}

} // namespace
} // namespace quorvex
