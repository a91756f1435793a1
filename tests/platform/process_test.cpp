#include "platform/process.hpp"

#include "fakes/test_environment.hpp"
#include "support/error.hpp"

#include <filesystem>

namespace quorvex {
namespace {

using Words = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(SplitArgumentsTest, SplitsAtBlanksOutsideQuotesWithTheClassicQuoteAndBackslashRules)
{
    // clang-format off
    const std::pair<const char*, Words> rows[] = {
        {"  a\tb   c  ", {"a", "b", "c"}}, {"   ", {}}, {R"(x "" y)", {"x", "", "y"}},
        {R"("a b" c"d e"f)", {"a b", "cd ef"}}, {R"("a b)", {"a b"}},
        {R"("say ""hi""" x)", {R"(say "hi")", "x"}},
        {R"(C:\Data\Sales.mdb a\\b)", {R"(C:\Data\Sales.mdb)", R"(a\\b)"}}, {R"(a\"b)", {R"(a"b)"}},
        {R"("C:\Backup\\" next)", {R"(C:\Backup\)", "next"}}, {R"(a\\\"b)", {R"(a\"b)"}}};
    // clang-format on
    for (const auto& [text, words] : rows)
        EXPECT_EQ(splitArguments(text), words) << text;
}

class ProcessTest : public test::AppDirTest {
protected:
    std::string makeFile(const std::string& relative)
    {
        const fs::path file = dir() / relative;
        fs::create_directories(file.parent_path());
        writeFile(file, "#!/bin/sh\n");
        fs::permissions(file, fs::perms::owner_all);
        return file.string();
    }

    static int32_t run(const std::string& commandLine)
    {
        Process process(commandLine, 6);
        for (;;) {
            if (const auto status = process.exitStatus()) {
                EXPECT_EQ(process.exitStatus(), status) << "the status stays available";
                return *status;
            }
            process.waitForExit(1000);
        }
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

TEST_F(ProcessTest, ReportsTheExitCodeAndASignalNeverReadsAsSuccess)
{
    EXPECT_EQ(run(R"(/bin/sh -c "exit 0")"), 0);
    EXPECT_EQ(run(R"(/bin/sh -c "exit 12")"), 12);
    EXPECT_EQ(run(R"(sh -c "exit 3")"), 3);
    EXPECT_EQ(run(R"(/bin/sh -c "kill -9 $$")"), 128 + 9);
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

TEST_F(ProcessTest, AMissingOrNonExecutableProgramFailsAtOnce)
{
    EXPECT_EQ(startFailure(path("missing") + " /X"), err::FileNotFound);
    EXPECT_EQ(startFailure("quorvex-no-such-program"), err::FileNotFound);
    EXPECT_EQ(startFailure("   "), err::FileNotFound);
    const std::string plain = makeFile("plain.txt");
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(startFailure(plain), err::PermissionDenied);
    const std::string noProgram = makeFile("garbage");
    writeFile(noProgram, std::string("\x01\x02\x03 not a program", 18));
    EXPECT_EQ(startFailure(noProgram), err::PermissionDenied);
}

} // namespace
} // namespace quorvex
