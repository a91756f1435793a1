#include "execution/zip_step.hpp"

#include "execution_test.hpp"
#include "support/app_info.hpp"

#include <algorithm>

namespace quorvex::test {
namespace {

using ZipStepTest = ExecutionTest;

// The command line has the program quoted, two blanks after it, quoted paths and a trailing
// blank.
TEST_F(ZipStepTest, CommandLineAndTheLogLineOfAResultCode)
{
    EXPECT_EQ(zipCommandLine("/backup/Sales.zip", "/data/Sales.mdb"),
              "\"" + app().directory +
                  "/zip\"  -S -v -n .zip \"/backup/Sales.zip\" \"/data/Sales.mdb\" ");
    const std::string item = " for file item '/d/S.mdb'.";
    // Two rows of the table, one with a text after the file item, and a code it lacks.
    const std::vector<std::pair<int32_t, std::string>> table = {
        {2, "Unexpected end of zip file" + item},
        {18, "One or more source files were unable to be archived from the filespec" + item +
                 "  This error is typically caused by a file in use."},
        {17, "Unhandled Error#17 has occurred" + item},
    };
    for (const auto& [code, line] : table)
        EXPECT_EQ(zipResultLine(code, "/d/S.mdb"), line) << code;
}

// The zip stand-in archives the file it is given, blanks and all, and passes zip's exit code
// through: for a missing file that is 12, nothing to do. A path holding a double quote, which
// could smuggle switches in, never reaches the archiver.
TEST_F(ZipStepTest, ZipFileArchivesTheFileOrLogsWhyNot)
{
    installFromBuild("zip");
    writeFile(path("Sales 2026.mdb"), std::string(4096, 'x'));
    EXPECT_TRUE(ZipFile(path("Sales 2026.zip"), path("Sales 2026.mdb")));
    const std::string members = zipMembers(path("Sales 2026.zip"));
    EXPECT_NE(members.find("Sales 2026.mdb"), std::string::npos) << members;
    EXPECT_TRUE(logMessages().empty());

    EXPECT_FALSE(ZipFile(path("out.zip"), path("missing.mdb")));
    EXPECT_EQ(logMessages(), std::vector<std::string>{"Zip has nothing to do for file item '" +
                                                      path("missing.mdb") + "'."});
    const std::string sneaky = path("a\" -TT \"touch " + path("pwned") + "\" \"b.mdb");
    EXPECT_FALSE(ZipFile(path("out.zip"), sneaky));
    EXPECT_FALSE(std::filesystem::exists(path("out.zip")));
    EXPECT_FALSE(std::filesystem::exists(path("pwned")));
    std::string logged = sneaky; // the log turns double quotes into apostrophes
    std::replace(logged.begin(), logged.end(), '"', '\'');
    EXPECT_EQ(logMessages().back(),
              "Quorvex cannot hand a path holding a double quote to zip: '" + logged + "'.");
}

} // namespace
} // namespace quorvex::test
