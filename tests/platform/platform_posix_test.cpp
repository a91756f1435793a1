// What the platform layer does that only POSIX systems have: the kernel's host name, hidden
// names and permission bits as attributes, locks that other processes see, and programs started
// from a command line without a shell.
#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"
#include "fakes/xdg_tree.hpp"
#include "platform/computer_name.hpp"
#include "platform/file_attributes.hpp"
#include "platform/process.hpp"
#include "platform/single_instance.hpp"
#include "support/error.hpp"

#include <cstdio>
#include <fstream>
#include <memory>
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

// (Hidden from the name: the listings of PosixJobFileTest.EveryVisiblePlainFile... leave such
// files out by their attributes.)
TEST_F(PosixPlatformTest, AttributesFollowLinks)
{
    fs::create_directory(dir() / "folder");
    fs::create_directory_symlink(dir() / "folder", dir() / "shortcut");
    fs::create_symlink(dir() / "nowhere", dir() / "dangling");
    EXPECT_EQ(fileAttributes(path("shortcut")) & attr::Directory, attr::Directory);
    EXPECT_EQ(fileAttributes(path("dangling")), attr::Normal);
}

// A program started meanwhile (the shell runs as a program of its own once it has printed, and
// outlives the holder) does not keep the lock. (Another process finds it taken while the holder
// holds it: CtlRunTest.DueRunsNothing...BesideTheAgent.)
TEST_F(PosixPlatformTest, AProgramStartedMeanwhileDoesNotKeepTheInstanceLock)
{
    auto held = std::make_unique<SingleInstance>(dir().string(), "quorvex.lock");
    FILE* child = ::popen("echo started; exec sleep 1", "r");
    ASSERT_NE(child, nullptr);
    char line[16];
    ASSERT_NE(std::fgets(line, sizeof line, child), nullptr);
    held.reset();
    EXPECT_FALSE(SingleInstance(dir().string(), "quorvex.lock").anotherInstanceRuns());
    EXPECT_EQ(::pclose(child), 0);
}

class ProcessTest : public AppDirTest {
protected:
    // A program that only has to exist, made at the path of the folder.
    std::string program(const std::string& relative) const
    {
        writeStubProgram(dir() / relative);
        return path(relative);
    }
    // The exit status of the program, which stays available once known, or minus the error
    // number when it could not start.
    static int32_t run(const std::string& commandLine, int showState = 6)
    {
        std::optional<Process> process;
        if (const int32_t error = errorNumberOf([&] { process.emplace(commandLine, showState); }))
            return -error;
        while (!process->exitStatus())
            process->waitForExit(1000);
        return process->exitStatus().value();
    }
};

TEST_F(ProcessTest, TheProgramIsTheQuotedPartOrTheShortestPrefixNamingAFileTheArgumentsFollow)
{
    EXPECT_EQ(splitCommandLine(R"(  "/no such/prog" /X "m a")"),
              (Words{"/no such/prog", "/X", "m a"}));
    const std::string longer = program("app dir/my prog");
    EXPECT_EQ(splitCommandLine(longer + "  -S \"x y\" "), (Words{longer, "-S", "x y"}));
    fs::create_directories(dir() / "app");
    const std::string zip = program("app dir/zip");
    EXPECT_EQ(splitCommandLine(zip + " -v"), (Words{zip, "-v"})) << "a folder is no program";
    const std::string shorter = program("app dir/my");
    EXPECT_EQ(splitCommandLine(longer + " -v"), (Words{shorter, "prog", "-v"}));
    EXPECT_EQ(splitCommandLine(path("no such") + " program x"),
              (Words{path("no"), "such", "program", "x"}));
    // The arguments after the program, with the classic quote and backslash rules.
    EXPECT_EQ(splitArguments("  a\tb   c  "), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitArguments("   "), Words{});
    for (const auto& c : readCaseTable(QUORVEX_TEST_DATA_DIR "/split_arguments.txt"))
        EXPECT_EQ(splitArguments(c[0]), Words(c.begin() + 1, c.end())) << c[0];
}

// A signal never reads as success; a start that fails does so at once, with its error number.
// (Plain exit codes, a missing program and a file that is no program: ShellAndCloseTest.)
TEST_F(ProcessTest,
       ReportsTheExitCodeOrWhyTheProgramCouldNotStartPassesTheArgumentsAsSplitAndHidesOutput)
{
    const std::string garbage = program("garbage");
    writeFile(garbage, std::string("\x01\x02\x03 not a program", 18));
    const std::pair<std::string, int32_t> rows[] = {{R"(/bin/sh -c "kill -9 $$")", 128 + 9},
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
    // A hidden program writes nowhere; a shown one writes where the agent does.
    const auto writesTo = [](const std::string& output, const std::string& errors) {
        return "/bin/sh -c \"test /proc/self/fd/1 -ef " + output + " && test /proc/self/fd/2 -ef " +
               errors + "\"";
    };
    EXPECT_EQ(run(writesTo("/dev/null", "/dev/null"), kHiddenWindow), 0);
    const std::string agent = "/proc/" + std::to_string(::getpid()) + "/fd/";
    EXPECT_EQ(run(writesTo(agent + "1", agent + "2"), 1), 0);
}

} // namespace
} // namespace quorvex::test
