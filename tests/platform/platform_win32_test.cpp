// What the platform layer does that only Windows has: the computer name of the environment,
// the browser registered for http addresses, drive roots, and attributes of their own, which
// listings and deletes obey.
#include "execution/file_checks.hpp"
#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"
#include "jobs/job_directory.hpp"
#include "platform/computer_name.hpp"
#include "platform/file_association.hpp"
#include "platform/file_attributes.hpp"
#include "platform/file_system.hpp"
#include "support/files.hpp"
#include "support/preferences.hpp"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

using WindowsFilesTest = AppDirTest;

TEST(ComputerName, IsTheNameTheSystemGivesProgramsInTheEnvironment)
{
    const char* expected = std::getenv("COMPUTERNAME");
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(computerName(), expected);
}

// Wine's prefix names a program for http addresses; the preferences take it as their default.
TEST_F(WindowsFilesTest, TheBrowserIsTheProgramOfHttpAddressesAndThePreferencesDefault)
{
    const auto browser = webBrowserProgram();
    ASSERT_TRUE(browser);
    EXPECT_EQ(entryKind(*browser), EntryKind::File) << *browser;
    LoadPreferences();
    EXPECT_EQ(preferences().IEPath, *browser);
}

// (The backslash as the paths' separator: CtlRunTest.RotatesPlainAndZippedCopies... names the
// copies after the source's file name and puts them in the target folder.)
TEST(DriveRoot, IsOnlyADriveLetterWithItsColonAndAtMostOneSeparator)
{
    for (const auto& c : readCaseTable(QUORVEX_TEST_DATA_DIR "/drive_roots.txt"))
        EXPECT_EQ(isDriveRoot(c[0]), c[1] == "root") << c[0];
}

// A leading dot means nothing to Windows; Wine marks such names hidden, so they are not asked
// about here. The job files (and Access's lock file and the databases alike) count only when a
// plain listing would show them; a delete takes them all alike.
TEST_F(WindowsFilesTest, AttributesAreTheSystemsOwnAndOnlyShownFilesArePlainFiles)
{
    const std::pair<const char*, DWORD> files[] = {
        {"plain.ldb", FILE_ATTRIBUTE_NORMAL},
        {"locked.ldb", FILE_ATTRIBUTE_READONLY},
        {"hidden.ldb", FILE_ATTRIBUTE_HIDDEN},
        {"system.ldb", FILE_ATTRIBUTE_SYSTEM},
        {"both.ldb", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN}};
    for (const auto& [name, attributes] : files) {
        writeFile(dir() / name, "x");
        ASSERT_TRUE(SetFileAttributesA(path(name).c_str(), attributes));
        EXPECT_TRUE(fileExists(path(name))) << name;
    }
    EXPECT_EQ(fileAttributes(path("hidden.ldb")), attr::Hidden);
    EXPECT_EQ(fileAttributes(path("system.ldb")), attr::System);
    EXPECT_EQ(fileAttributes(path("both.ldb")), attr::ReadOnly | attr::Hidden);
    std::vector<std::string> jobFiles = listJobFiles(dir().string());
    std::sort(jobFiles.begin(), jobFiles.end());
    EXPECT_EQ(jobFiles, (std::vector<std::string>{path("locked.ldb"), path("plain.ldb")}));

    writeFile(dir() / "notes.txt", "x");
    EXPECT_EQ(uKill(path("*.ldb")), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir()), {}), 1);
    EXPECT_TRUE(sameEntry(path("notes.txt"), path("NOTES.TXT")));
}

} // namespace
} // namespace quorvex::test
