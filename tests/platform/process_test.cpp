#include "platform/process.hpp"

#include "fakes/test_environment.hpp"
#include "support/error.hpp"

#include <filesystem>

namespace quorvex {
namespace {

using test::AppDirTest;
using Words = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(SplitArgumentsTest, BlanksAndTabsSeparateWordsAndRunsOfThemCountOnce)
{
    EXPECT_EQ(splitArguments("  a\tb   c  "), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitArguments("   "), Words{});
}

TEST(SplitArgumentsTest, DoubleQuotesGroupBlanksAnywhereInAWord)
{
    EXPECT_EQ(splitArguments(R"("a b" c"d e"f)"), (Words{"a b", "cd ef"}));
    EXPECT_EQ(splitArguments(R"("a b)"), Words{"a b"});
}

TEST(SplitArgumentsTest, EmptyQuotesGiveAnEmptyArgument)
{
    EXPECT_EQ(splitArguments(R"(x "" y)"), (Words{"x", "", "y"}));
}

TEST(SplitArgumentsTest, TwoQuotesInsideAQuotedPartGiveOneQuote)
{
    EXPECT_EQ(splitArguments(R"("say ""hi""" x)"), (Words{R"(say "hi")", "x"}));
}

TEST(SplitArgumentsTest, BackslashesAreLiteralUnlessTheyPrecedeAQuote)
{
    EXPECT_EQ(splitArguments(R"(C:\Data\Sales.mdb a\\b)"),
              (Words{R"(C:\Data\Sales.mdb)", R"(a\\b)"}));
    EXPECT_EQ(splitArguments(R"(a\"b)"), Words{R"(a"b)"});
    EXPECT_EQ(splitArguments(R"("C:\Backup\\" next)"), (Words{R"(C:\Backup\)", "next"}));
    EXPECT_EQ(splitArguments(R"(a\\\"b)"), Words{R"(a\"b)"});
}

class CommandLineTest : public AppDirTest {
protected:
    std::string makeFile(const std::string& relative)
    {
        const fs::path file = dir() / relative;
        fs::create_directories(file.parent_path());
        writeFile(file, "#!/bin/sh\n");
        fs::permissions(file, fs::perms::owner_all);
        return file.string();
    }
};

TEST_F(CommandLineTest, QuotedProgramRunsToTheClosingQuote)
{
    EXPECT_EQ(splitCommandLine(R"(  "/no such/prog" /X "m a")"),
              (Words{"/no such/prog", "/X", "m a"}));
}

TEST_F(CommandLineTest, UnquotedProgramWithBlanksIsTheShortestPrefixNamingAFile)
{
    const std::string program = makeFile("app dir/my prog");
    EXPECT_EQ(splitCommandLine(program + "  -S \"x y\" "), (Words{program, "-S", "x y"}));

    const std::string shorter = makeFile("app dir/my");
    EXPECT_EQ(splitCommandLine(program + " -v"), (Words{shorter, "prog", "-v"}));
}

TEST_F(CommandLineTest, FolderOnTheWayIsNoProgramFile)
{
    fs::create_directories(dir() / "app");
    const std::string program = makeFile("app dir/zip");
    EXPECT_EQ(splitCommandLine(program + " -v"), (Words{program, "-v"}));
}

TEST_F(CommandLineTest, UnquotedProgramWithoutAnExistingPrefixIsItsFirstWord)
{
    const std::string missing = path("no such") + " program x";
    EXPECT_EQ(splitCommandLine(missing), (Words{path("no"), "such", "program", "x"}));
}

TEST(LocateProgramFileTest, BareNameIsSearchedAlongPath)
{
    const std::optional<std::string> shell = locateProgramFile("sh");
    ASSERT_TRUE(shell.has_value());
    EXPECT_TRUE(fs::path(*shell).is_absolute());
    EXPECT_EQ(fs::path(*shell).filename(), "sh");
    EXPECT_FALSE(locateProgramFile("quorvex-no-such-program").has_value());
}

class ProcessTest : public CommandLineTest {
protected:
    static int32_t waitForEnd(Process& process)
    {
        for (;;) {
            if (const auto status = process.exitStatus())
                return *status;
            process.waitForExit(1000);
        }
    }

    static int32_t run(const std::string& commandLine)
    {
        Process process(commandLine, 6);
        return waitForEnd(process);
    }

    static int32_t startFailure(const std::string& commandLine)
    {
        try {
            Process process(commandLine, 6);
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    }
};

TEST_F(ProcessTest, ReportsTheExitCode)
{
    EXPECT_EQ(run(R"(/bin/sh -c "exit 0")"), 0);
    EXPECT_EQ(run(R"(/bin/sh -c "exit 12")"), 12);
    EXPECT_EQ(run(R"(sh -c "exit 3")"), 3);
}

TEST_F(ProcessTest, ProgramEndedBySignalNeverReadsAsSuccess)
{
    EXPECT_EQ(run(R"(/bin/sh -c "kill -9 $$")"), 128 + 9);
}

TEST_F(ProcessTest, ExitCodeStaysAvailableAfterTheEnd)
{
    Process process(R"(/bin/sh -c "exit 4")", 6);
    EXPECT_EQ(waitForEnd(process), 4);
    EXPECT_EQ(process.exitStatus(), 4);
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

TEST_F(ProcessTest, MissingProgramFailsAtOnceWith53)
{
    EXPECT_EQ(startFailure(path("missing") + " /X"), err::FileNotFound);
    EXPECT_EQ(startFailure("quorvex-no-such-program"), err::FileNotFound);
    EXPECT_EQ(startFailure("   "), err::FileNotFound);
}

TEST_F(ProcessTest, FileThatCannotBeExecutedFailsAtOnceWith70)
{
    const std::string plain = makeFile("plain.txt");
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(startFailure(plain), err::PermissionDenied);

    const std::string noProgram = makeFile("garbage");
    writeFile(noProgram, std::string("\x01\x02\x03 not a program", 18));
    EXPECT_EQ(startFailure(noProgram), err::PermissionDenied);
}

} // namespace
} // namespace quorvex
