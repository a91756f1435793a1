#include "platform/process.hpp"

#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"
#include "support/error.hpp"

#include <optional>

namespace quorvex {
namespace {

using Words = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(SplitArgumentsTest, SplitsAtBlanksOutsideQuotesWithTheClassicQuoteAndBackslashRules)
{
    EXPECT_EQ(splitArguments("  a\tb   c  "), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitArguments("   "), Words{});
    for (const auto& c : test::readCaseTable(QUORVEX_TEST_DATA_DIR "/split_arguments.txt"))
        EXPECT_EQ(splitArguments(c[0]), Words(c.begin() + 1, c.end())) << c[0];
}

class ProcessTest : public test::AppDirTest {
protected:
    std::string makeFile(const std::string& relative, const std::string& content = "#!/bin/sh\n",
                         fs::perms permissions = fs::perms::owner_all)
    {
        const fs::path file = dir() / relative;
        fs::create_directories(file.parent_path());
        writeFile(file, content);
        fs::permissions(file, permissions);
        return file.string();
    }
    // The exit status of the program, or minus the error number when it could not start.
    static int32_t run(const std::string& commandLine)
    {
        std::optional<Process> process;
        try {
            process.emplace(commandLine, 6);
        } catch (const RuntimeError& e) {
            return -e.number();
        }
        std::optional<int32_t> status;
        while (!(status = process->exitStatus()))
            process->waitForExit(1000);
        EXPECT_EQ(process->exitStatus(), status) << "the status stays available";
        return *status;
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
TEST_F(ProcessTest, ReportsTheExitCodeOrWhyTheProgramCouldNotStart)
{
    const std::string plain =
        makeFile("plain.txt", "#!/bin/sh\n", fs::perms::owner_read | fs::perms::owner_write);
    const std::string garbage = makeFile("garbage", std::string("\x01\x02\x03 not a program", 18));
    // clang-format off
    const std::pair<std::string, int32_t> rows[] = {
        {R"(/bin/sh -c "exit 0")", 0}, {R"(/bin/sh -c "exit 12")", 12}, {R"(sh -c "exit 3")", 3},
        {R"(/bin/sh -c "kill -9 $$")", 128 + 9}, {path("missing") + " /X", -err::FileNotFound},
        {"quorvex-no-such-program", -err::FileNotFound}, {"   ", -err::FileNotFound},
        {plain, -err::PermissionDenied}, {garbage, -err::PermissionDenied}};
    // clang-format on
    for (const auto& [commandLine, result] : rows)
        EXPECT_EQ(run(commandLine), result) << commandLine;
}

TEST_F(ProcessTest, ArgumentsReachTheProgramAsSplitWithoutAnyShell)
{
    const std::string database = path("Sales 2026.mdb");
    const std::string commandLine = std::string("\"") + QUORVEX_FAKE_ACCESS + "\" \"" + database +
                                    R"(" /WRKGRP "C:\Sec\x.mdw" $HOME a;b * "" /X "m ""q""")";
    EXPECT_EQ(run(commandLine), 0);
    EXPECT_EQ(readFile(database + ".args"),
              database + "\n/WRKGRP\nC:\\Sec\\x.mdw\n$HOME\na;b\n*\n\n/X\nm \"q\"\n");
}

} // namespace
} // namespace quorvex
