// "quorvexctl run" on Windows, as a real process on plain backup jobs with "\" paths: the
// rotation of numbered copies, a read-only copy among them, and the exit statuses.
#include "run_quorvexctl.hpp"

#include "fakes/test_environment.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

class CtlRunWin32Test : public AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        fs::create_directories(dir() / "DatabaseJobs");
        fs::create_directories(dir() / "data");
        fs::create_directories(target());
        writeFile(dir() / "data" / "Sales.mdb", "new");
    }
    fs::path target() const { return dir() / "backup"; }
    Files targetFiles() const
    {
        Files files;
        for (const auto& entry : fs::directory_iterator(target()))
            files[entry.path().filename().string()] = readFile(entry.path());
        return files;
    }
    void addJob(const std::string& name, const std::string& source)
    {
        writeFile(dir() / "DatabaseJobs" / (name + ".tsk"),
                  "[General]\r\nJobName=" + name + "\r\nJobType=3\r\n[Backup]\r\nDatabaseFile=" +
                      path("data") + "\\" + source + "\r\nTargetPath=" + target().string() +
                      "\\\r\nNumberCopies=5\r\nCompress=0\r\n");
    }
    int run(std::vector<std::string> names)
    {
        names.insert(names.begin(), "run");
        names.insert(names.end(), {"--app-dir", dir().string()});
        const CtlOutcome outcome = runQuorvexctl(names, dir());
        m_err = outcome.err;
        return outcome.status;
    }
    std::string m_err;
};

// Two older copies, as the preferences say; the oldest one is read-only, which does not keep
// the rotation from replacing it.
TEST_F(CtlRunWin32Test, RotatesTheNumberedCopiesWithThePreferencesLimitReadOnlyOnesIncluded)
{
    writeFile(dir() / "Quorvex.ini", "[Preferences]\r\nNumberCopies=2\r\n");
    addJob("Nightly", "Sales.mdb");
    for (const std::string name : {"Sales.mdb", "Sales_1.mdb", "Sales_2.mdb", "Sales_3.mdb"})
        writeFile(target() / name, name);
    ASSERT_TRUE(SetFileAttributesA((target() / "Sales_2.mdb").string().c_str(),
                                   FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(run({"Nightly"}), 0) << m_err;
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}, {"Sales_1.mdb", "Sales.mdb"},
                                    {"Sales_2.mdb", "Sales_1.mdb"}, {"Sales_3.mdb", "Sales_3.mdb"}}));
}

TEST_F(CtlRunWin32Test, AFailedJobGivesStatusOneAndAnUnknownNameTwoBeforeAnyRuns)
{
    addJob("Broken", "Missing.mdb");
    addJob("Fine", "Sales.mdb");
    EXPECT_EQ(run({"Fine", "Nobody"}), 2);
    EXPECT_NE(m_err.find("Nobody"), std::string::npos) << m_err;
    EXPECT_TRUE(targetFiles().empty());
    EXPECT_EQ(run({"Broken", "Fine"}), 1) << m_err;
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
}

} // namespace
} // namespace quorvex::test
