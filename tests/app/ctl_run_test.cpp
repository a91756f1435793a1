#include "ctl_run_fixture.hpp"

#include "platform/single_instance.hpp"
#include "support/date_text.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// With a workgroup file beside the database, and the due-job check.
class CtlRunTest : public CtlRunFixture {
protected:
    void SetUp() override
    {
        CtlRunFixture::SetUp();
        writeFile(path("data/System.mdw"), "workgroup");
    }
    // One due-job check on our folder.
    int due() { return quorvexctl({"due"}); }
    // As if the previous due-job check had been at that moment.
    void checkedAt(DateTime moment)
    {
        writeFile(path("DueCheck.ini"),
                  "[DueCheck]\r\nLastCheck=" + formatLogStamp(moment) + "\r\n");
    }
};

// Two older copies, as the preferences say, not the job's five; the job files, their last run
// included, are left alone.
TEST_F(CtlRunTest, RunsTheNamedJobsInTheOrderGivenWithThePreferencesCopyLimit)
{
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=2\r\n");
    addJob("First", "Sales.mdb");
    addJob("Second", "System.mdw");
    const std::string jobFile = readFile(path("DatabaseJobs/First.tsk"));
    for (const std::string name : {"Sales.mdb", "Sales_1.mdb", "Sales_2.mdb", "Sales_3.mdb"})
        putFile(target() / name, name);
    EXPECT_EQ(run({"Second", "First"}), 0) << m_err;
    EXPECT_NE(m_err.find("Executing Second...\nBacking Up   "), std::string::npos) << m_err;
    const std::vector<std::string> log = logMessages();
    EXPECT_EQ((std::vector<std::string>{log.at(1), log.at(3)}),
              (std::vector<std::string>{"Backing Up   " + path("data/System.mdw"), "Backing Up   " + path("data/Sales.mdb")}));
    // clang-format off
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}, {"Sales_1.mdb", "Sales.mdb"}, {"Sales_2.mdb", "Sales_1.mdb"},
                                    {"Sales_3.mdb", "Sales_3.mdb"}, {"System.mdw", "workgroup"}}));
    // clang-format on
    EXPECT_EQ(readFile(path("DatabaseJobs/First.tsk")), jobFile);
}

// Two runs of one job at once, as from quorvexctl beside the agent, take turns on the target:
// the copies are exactly those of two runs one after the other. Repeated, since without the
// target's lock the outcome would depend on how the two happen to interleave. The zip stand-in
// is the one beside quorvexctl: the data folder has none.
TEST_F(CtlRunTest, TwoRunsOfOneJobAtOnceRotateAsTwoRunsOneAfterTheOther)
{
    const std::string big(8 << 20, 'n');
    putFile(path("data/Sales.mdb"), big);
    addJob("Plain", "Sales.mdb");
    addJob("Zipped", "Sales.mdb", "Compress=-1\r\n");
    const auto quoted = [](const std::string& text) { return "'" + text + "'"; };
    for (const std::string job : {"Plain", "Plain", "Zipped", "Zipped"}) {
        SCOPED_TRACE(job);
        fs::remove_all(target());
        fs::create_directories(target());
        for (const std::string copy : {"Sales", "Sales_1", "Sales_4"})
            putFile(target() / (copy + (job == "Plain" ? ".mdb" : ".zip")), copy);
        std::string both;
        for (const std::string status : {"first", "second"})
            both += "(" + quoted(QUORVEXCTL_PATH) + " run " + job + " --app-dir " +
                    quoted(dir().string()) + " 2>/dev/null; echo $? >" + quoted(path(status)) + ") & ";
        ASSERT_EQ(std::system((both + "wait").c_str()), 0);
        EXPECT_EQ(readFile(path("first")) + readFile(path("second")), "0\n0\n");
        Files files = targetFiles();
        const bool zip = job == "Zipped";
        for (auto& [name, content] : files)
            if (zip && content.starts_with("PK"))
                content = "zip";
            else if (content == big)
                content = "new";
        EXPECT_EQ(files, zip ? (Files{{"Sales.zip", "zip"}, {"Sales_1.zip", "zip"}, {"Sales_2.zip", "Sales"},
                                      {"Sales_3.zip", "Sales_1"}})
                             : (Files{{"Sales.mdb", "new"}, {"Sales_1.mdb", "new"}, {"Sales_2.mdb", "Sales"},
                                      {"Sales_3.mdb", "Sales_1"}}));
    }
}

// A job whose database lies behind a link that cannot be followed fails like a missing one;
// the program goes on with the next job.
TEST_F(CtlRunTest, FailedJobGivesStatusOneAfterEveryJobRanAndAnUnknownNameTwoBeforeAnyRuns)
{
    fs::create_symlink("loop", dir() / "data/loop");
    addJob("Looping", "loop/Sales.mdb");
    addJob("Broken", "Missing.mdb");
    addJob("Fine", "Sales.mdb");
    EXPECT_EQ(run({"Fine", "Nobody"}), 2);
    EXPECT_NE(m_err.find("Nobody"), std::string::npos) << m_err;
    EXPECT_TRUE(targetFiles().empty());
    EXPECT_FALSE(fs::exists(path("quorvex.log")));
    EXPECT_EQ(run({"Broken", "Looping", "Fine"}), 1) << m_err;
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
}

// quorvexctl runs on the real clock. The first check only notes its moment, as an agent just
// started runs nothing at once; a check while the agent holds the lock runs nothing and notes
// nothing. The previous check was then two days ago: since then the daily job came due (more
// than once, and runs once), the weekly one, set to the weekday three days ahead, did not.
TEST_F(CtlRunTest, DueRunsOnceWhatCameDueSinceThePreviousCheckButNotAtFirstNorBesideTheAgent)
{
    const DateTime now = Now();
    const int later = 1 << now.addDays(3).weekday();
    addJob(
        "Daily", "Sales.mdb",
        "Compress=0\r\n[Schedule]\r\nDateLastRun=Nov-01-2026\r\nFrequency=1\r\nDayOfWeek=254\r\n");
    addJob("Weekly", "System.mdw",
           "Compress=0\r\n[Schedule]\r\nDateLastRun=Nov-01-2026\r\nFrequency=2\r\nDayOfWeek=" +
               std::to_string(later) + "\r\n");
    const std::string weekly = readFile(path("DatabaseJobs/Weekly.tsk"));
    EXPECT_EQ(due(), 0) << m_err;
    EXPECT_NE(readFile(path("DueCheck.ini")).find("LastCheck="), std::string::npos);
    checkedAt(now.addDays(-2));
    const std::string state = readFile(path("DueCheck.ini"));
    {
        const SingleInstance agent(dir().string(), "quorvex.lock");
        EXPECT_EQ(due(), 3);
    }
    EXPECT_EQ(m_err, "quorvexctl: the Quorvex agent runs on " + dir().string() +
                         " and runs its due jobs itself\n");
    EXPECT_EQ(readFile(path("DueCheck.ini")), state);
    EXPECT_FALSE(fs::exists(path("quorvex.log")));
    EXPECT_EQ(due(), 0) << m_err;
    const std::vector<std::string> ran = logMessages();
    EXPECT_EQ(ran.size(), 2u);
    EXPECT_EQ(ran.back(), "Backing Up   " + path("data/Sales.mdb"));
    EXPECT_NE(readFile(path("DatabaseJobs/Daily.tsk"))
                  .find("DateLastRun=" + formatDate(Today()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(readFile(path("DatabaseJobs/Weekly.tsk")), weekly);
    EXPECT_EQ(targetFiles(), (Files{{"Sales.mdb", "new"}}));
    // The next check, a moment later, finds nothing due.
    EXPECT_EQ(due(), 0) << m_err;
    EXPECT_EQ(logMessages(), ran);
}

} // namespace
} // namespace quorvex::test
