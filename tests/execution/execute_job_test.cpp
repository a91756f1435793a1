#include "execution/execute_job.hpp"

#include "execution_test.hpp"
#include "support/error.hpp"

namespace quorvex::test {
namespace {

class ExecuteJobTest : public ExecutionTest {
protected:
    CDatabaseJob jobOfType(int16_t type, const std::string& name = "Weekly")
    {
        CDatabaseJob job;
        job.setJobName(name);
        job.setJobType(type);
        return job;
    }
};

TEST_F(ExecuteJobTest, HeaderLinePadsTheNameWithDashesToSixtyCharacters)
{
    CDatabaseJob job = jobOfType(0);
    ExecuteDatabaseJobNow(job, m_display);
    EXPECT_EQ(logMessages(), std::vector<std::string>{"-- Weekly " + std::string(54, '-')});
}

TEST_F(ExecuteJobTest, HeaderLineOfANameOfSixtyOrMoreCharactersHasNoDashes)
{
    for (size_t length : {60, 61, 75}) {
        CDatabaseJob job = jobOfType(0, std::string(length, 'n'));
        ExecuteDatabaseJobNow(job, m_display);
        EXPECT_EQ(logMessages().back(), "-- " + std::string(length, 'n') + " ");
    }
}

TEST_F(ExecuteJobTest, UnknownJobTypeShowsProgressRunsNothingAndReturnsZero)
{
    for (int16_t type : {0, 4}) {
        RecordingDisplay display;
        CDatabaseJob job = jobOfType(type);
        EXPECT_EQ(ExecuteDatabaseJobNow(job, display), 0);
        EXPECT_EQ(display.texts(),
                  (std::vector<std::string>{"Initializing...", "Executing Weekly...", ""}));
        EXPECT_EQ(display.lights(), "1001");
        EXPECT_EQ(display.refreshes(), 2);
    }
    EXPECT_EQ(logMessages().size(), 2u);
    EXPECT_EQ(m_desktop.doEventsCount(), 2 * 2 * 20);
}

TEST_F(ExecuteJobTest, LightsRunAndPointerIsBusyWhileTheJobRuns)
{
    std::vector<std::string> seen;
    m_desktop.onDoEvents(
        [&] { seen.push_back(m_display.lights() + (m_desktop.busy() ? "B" : "")); });
    CDatabaseJob job = jobOfType(0);
    ExecuteDatabaseJobNow(job, m_display);
    ASSERT_EQ(seen.size(), 40u);
    EXPECT_EQ(seen.front(), "0110B");
    EXPECT_EQ(seen.back(), "1001B");
    EXPECT_FALSE(m_desktop.busy());
}

TEST_F(ExecuteJobTest, FailureOfTheDisplayIsAFatalErrorOfTheDispatcher)
{
    class BrokenDisplay final : public StatusDisplay {
    public:
        void setMessageText(const std::string&) override
        {
            throw RuntimeError::fromNumber(err::PathFileAccess);
        }
        void setLightVisible(int, bool) override {}
        void refresh() override {}
    } broken;
    CDatabaseJob job = jobOfType(job_type::Backup);
    EXPECT_THROW(ExecuteDatabaseJobNow(job, broken), FatalExitCalled);
    EXPECT_NE(readFile(path("quorvex.err")).find("CDatabaseJob.cls/ExecuteDatabaseJobNow()."),
              std::string::npos);
}

TEST_F(ExecuteJobTest, BackupJobLogsTheHeaderBeforeTheActionsLinesAndPassesItsResultOn)
{
    CDatabaseJob job = jobOfType(job_type::Backup);
    job.setBackupSourceMDB(path("data/Sales.mdb"));
    job.setBackupTargetDirectory(path("missing"));
    EXPECT_EQ(ExecuteDatabaseJobNow(job, m_display), -1);
    EXPECT_TRUE(job.Failure());
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"-- Weekly " + std::string(54, '-'),
                                                       "Quorvex Target Path does not exist: '" +
                                                           path("missing") + "/'."}));
    EXPECT_EQ(m_display.text(), "");
    EXPECT_EQ(m_display.lights(), "1001");
}

} // namespace
} // namespace quorvex::test
