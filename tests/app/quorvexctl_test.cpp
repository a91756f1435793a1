#include "fakes/test_environment.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

using QuorvexctlTest = AppDirTest;

// quorvexctl as a real process, from a program folder of its own and with a home of its own.
// Arguments it does not understand give the usage and status 2 and touch nothing. The data
// folder is the program folder when the user may write it, else the user's data home, made on
// first use and open to the user only; one that cannot be made ends with status 1, saying why.
// A fatal report whose error log cannot be written still tells the user and ends the program
// with status 1, not an abort. A program folder the user may not write is made so by its mode,
// or for root by running as nobody.
TEST_F(QuorvexctlTest, UsageDataFolderAndExitStatus)
{
    const fs::path program = dir() / "program", home = dir() / "home";
    fs::create_directories(program);
    fs::create_directories(home);
    fs::copy_file(QUORVEXCTL_PATH, program / "quorvexctl");
    const bool root = geteuid() == 0;
    if (root) {
        fs::permissions(dir(), fs::perms(0755));
        ASSERT_EQ(chown(home.c_str(), 65534, 65534), 0);
    }
    // The exit status, a blank, and what quorvexctl printed.
    const auto run = [&](const std::string& args, bool readOnly = false,
                         const std::string& xdgDataHome = "") {
        fs::permissions(program, fs::perms(readOnly ? 0555 : 0755));
        const int status = std::system(
            ("HOME='" + home.string() + "' XDG_DATA_HOME='" + xdgDataHome + "' " +
             (readOnly && root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "") + "'" +
             (program / "quorvexctl").string() + "' " + args + " >'" + path("out.txt") + "' 2>&1")
                .c_str());
        fs::permissions(program, fs::perms(0755));
        return std::to_string(WEXITSTATUS(status)) + " " + readFile(path("out.txt"));
    };
    const std::string usage = readFile(fs::path(QUORVEX_TEST_DATA_DIR) / "usage.txt");
    const std::string appDir = "--app-dir " + dir().string();
    for (const std::string args :
         {"", "lst", "list --verbose", "list --app-dir", "run", "due now", "list --app-dir ''",
          "list data", "run --app-dir data", "paths --app-dir"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(run(args), "2 " + usage);
    }
    EXPECT_FALSE(fs::exists(path("quorvex.err")));

    const std::string prog = program.string(), xdg = (home / "xdg").string();
    const std::string local = (home / ".local/share").string();
    const auto listing = [&](const std::string& data) {
        return "0 program\t" + prog + "\ndata\t" + data + "\njobs\t" + data +
               "/DatabaseJobs/\npreferences\t" + data + "/Quorvex.ini\nlog\t" + data +
               "/quorvex.log\nerrors\t" + data + "/quorvex.err\nlock\t" + data + "/quorvex.lock\n";
    };
    EXPECT_EQ(run("paths", false, xdg), listing(prog));
    EXPECT_EQ(run("paths", true, xdg), listing(xdg + "/quorvex"));
    EXPECT_EQ(run("paths", true, "relative/ignored"), listing(local + "/quorvex"));
    EXPECT_EQ(run("paths", true), listing(local + "/quorvex"));
    EXPECT_EQ(run("paths " + appDir, true, xdg), listing(dir().string()));
    for (const std::string& made : {xdg + "/quorvex", local + "/quorvex"})
        EXPECT_EQ(fs::status(made).permissions(), fs::perms(0700));
    EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 1);
    writeFile(home / "file", "");
    const std::string failed = run("paths", true, (home / "file").string());
    EXPECT_TRUE(failed.starts_with("1 quorvexctl: cannot create the data folder " +
                                   (home / "file/quorvex").string() + ": "))
        << failed;

    fs::create_directory(path("quorvex.err"));
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=99999\r\n");
    const std::string fatal = run("run Any " + appDir);
    EXPECT_TRUE(fatal.starts_with("1 ")) << fatal;
    EXPECT_NE(fatal.find("Fatal Application Error: ERR#6 @ Quorvex - Overflow"), std::string::npos);
}

} // namespace
} // namespace quorvex::test
