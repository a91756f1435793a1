// What the platform layer does that only POSIX systems have: the kernel's host name, hidden
// names and permission bits as attributes, locks that other processes see, and programs started
// from a command line without a shell.
#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"
#include "platform/computer_name.hpp"
#include "platform/file_attributes.hpp"
#include "platform/process.hpp"
#include "platform/single_instance.hpp"
#include "support/error.hpp"

#include <cstdio>
#include <fstream>
#include <optional>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

TEST(ComputerName, IsTheKernelsHostName)
{
    std::ifstream kernel("/proc/sys/kernel/hostname");
    std::string expected;
    std::getline(kernel, expected);
    EXPECT_EQ(computerName(), expected);
}

using PosixPlatformTest = AppDirTest;

TEST_F(PosixPlatformTest, AttributesReadHiddenFromTheNameReadOnlyFromTheOwnerAndFollowLinks)
{
    writeFile(dir() / ".hidden.mdb", "");
    writeFile(dir() / "locked.mdb", "");
    fs::permissions(dir() / "locked.mdb", fs::perms::owner_read | fs::perms::group_write);
    fs::create_directory(dir() / "folder");
    fs::create_directory_symlink(dir() / "folder", dir() / "shortcut");
    fs::create_symlink(dir() / "nowhere", dir() / "dangling");
    EXPECT_EQ(fileAttributes(path(".hidden.mdb")), attr::Hidden);
    EXPECT_EQ(fileAttributes(path("locked.mdb")), attr::ReadOnly);
    EXPECT_EQ(fileAttributes(path("shortcut")) & attr::Directory, attr::Directory);
    EXPECT_EQ(fileAttributes(path("dangling")), attr::Normal);
}

// A program started meanwhile (the shell runs as a program of its own once it has printed, and
// outlives the holder) does not keep the lock. (Another process finds it taken while the holder
// holds it: CtlRunTest.DueRunsNothing...BesideTheAgent.)
TEST_F(PosixPlatformTest, AProgramStartedMeanwhileDoesNotKeepTheInstanceLock)
{
    std::optional<SingleInstance> held;
    held.emplace(dir().string(), "quorvex.lock");
    FILE* child = ::popen("echo started; exec sleep 1", "r");
    ASSERT_NE(child, nullptr);
    char line[16];
    ASSERT_NE(std::fgets(line, sizeof line, child), nullptr);
    held.reset();
    EXPECT_FALSE(SingleInstance(dir().string(), "quorvex.lock").anotherInstanceRuns());
    EXPECT_EQ(::pclose(child), 0);
}

TEST(SplitArgumentsTest, SplitsAtBlanksOutsideQuotesWithTheClassicQuoteAndBackslashRules)
{
    EXPECT_EQ(splitArguments("  a\tb   c  "), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitArguments("   "), Words{});
    for (const auto& c : readCaseTable(QUORVEX_TEST_DATA_DIR "/split_arguments.txt"))
        EXPECT_EQ(splitArguments(c[0]), Words(c.begin() + 1, c.end())) << c[0];
}

class ProcessTest : public AppDirTest {
protected:
    std::string makeFile(const std::string& relative, const std::string& content = "#!/bin/sh\n")
    {
        const fs::path file = dir() / relative;
        fs::create_directories(file.parent_path());
        writeFile(file, content);
        fs::permissions(file, fs::perms::owner_all);
        return file.string();
    }
    // The exit status of the program, which stays available once known, or minus the error
    // number when it could not start.
    static int32_t run(const std::string& commandLine)
    {
        int32_t status = 0;
        const int32_t error = errorNumberOf([&] {
            Process process(commandLine, 6);
            while (!process.exitStatus())
                process.waitForExit(1000);
            status = *process.exitStatus();
            EXPECT_EQ(process.exitStatus(), status);
        });
        return error != 0 ? -error : status;
    }
};

TEST_F(ProcessTest, TheProgramIsTheQuotedPartOrTheShortestPrefixNamingAFile)
{
    EXPECT_EQ(splitCommandLine(R"(  "/no such/prog" /X "m a")"),
              (Words{"/no such/prog", "/X", "m a"}));
    const std::string program = makeFile("app dir/my prog");
    EXPECT_EQ(splitCommandLine(program + "  -S \"x y\" "), (Words{program, "-S", "x y"}));
    fs::create_directories(dir() / "app");
    const std::string zip = makeFile("app dir/zip");
    EXPECT_EQ(splitCommandLine(zip + " -v"), (Words{zip, "-v"})) << "a folder is no program";
    const std::string shorter = makeFile("app dir/my");
    EXPECT_EQ(splitCommandLine(program + " -v"), (Words{shorter, "prog", "-v"}));
    EXPECT_EQ(splitCommandLine(path("no such") + " program x"),
              (Words{path("no"), "such", "program", "x"}));
}

// A signal never reads as success; a start that fails does so at once, with its error number.
// (Plain exit codes, a missing program and a file that is no program: ShellAndCloseTest.)
TEST_F(ProcessTest, ReportsTheExitCodeOrWhyTheProgramCouldNotStartAndPassesTheArgumentsAsSplit)
{
    const std::string garbage = makeFile("garbage", std::string("\x01\x02\x03 not a program", 18));
    const std::pair<std::string, int32_t> rows[] = {{R"(sh -c "exit 3")", 3},
                                                    {R"(/bin/sh -c "kill -9 $$")", 128 + 9},
                                                    {"quorvex-no-such-program", -err::FileNotFound},
                                                    {"   ", -err::FileNotFound},
                                                    {garbage, -err::PermissionDenied}};
    for (const auto& [commandLine, result] : rows)
        EXPECT_EQ(run(commandLine), result) << commandLine;
    // The arguments reach the program as split, without any shell.
    const std::string database = path("Sales 2026.mdb");
    const std::string commandLine = std::string("\"") + QUORVEX_FAKE_ACCESS + "\" \"" + database +
                                    R"(" /WRKGRP "C:\Sec\x.mdw" $HOME a;b * "" /X "m ""q""")";
    EXPECT_EQ(run(commandLine), 0);
    EXPECT_EQ(readFile(database + ".args"),
              database + "\n/WRKGRP\nC:\\Sec\\x.mdw\n$HOME\na;b\n*\n\n/X\nm \"q\"\n");
}

} // namespace
} // namespace quorvex::test
