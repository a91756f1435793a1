#include "execution/execute_job.hpp"

#include "execution_test.hpp"
#include "fakes/case_table.hpp"

namespace quorvex::test {
namespace {

using ExecuteJobTest = ExecutionTest;

// The header pads the name with dashes to sixty characters; an unknown job type only shows
// its progress with the lights running and the pointer busy, and returns 0.
TEST_F(ExecuteJobTest, UnknownJobTypeLogsTheHeaderShowsProgressAndRunsNothing)
{
    for (const auto& c : readCaseTable(QUORVEX_TEST_DATA_DIR "/job_headers.txt")) {
        const std::string& name = c[0];
        SCOPED_TRACE(name);
        RecordingDisplay display;
        std::vector<std::string> seen;
        m_desktop.onDoEvents(
            [&] { seen.push_back(display.lights + (m_desktop.busy() ? "B" : "")); });
        CDatabaseJob job;
        job.setJobName(name);
        job.setJobType(static_cast<int16_t>(std::stoi(c[1])));
        EXPECT_EQ(ExecuteDatabaseJobNow(job, display), 0);
        m_desktop.onDoEvents({});
        EXPECT_EQ(logMessages().back(), "-- " + name + " " + std::string(std::stoul(c[2]), '-'));
        EXPECT_EQ(display.texts,
                  (std::vector<std::string>{"Initializing...", "Executing " + name + "...", ""}));
        EXPECT_EQ(display.lights, "1001");
        ASSERT_EQ(seen.size(), 40u);
        EXPECT_EQ(seen.front(), "0110B");
        EXPECT_EQ(seen.back(), "1001B");
        EXPECT_FALSE(m_desktop.busy());
    }
}

// An unexpected error is a fatal report naming the routine it happened in: the dispatcher's when
// the display fails, the backup's when its copy cannot be written.
TEST_F(ExecuteJobTest, UnexpectedErrorIsAFatalReportNamingItsRoutine)
{
    RecordingDisplay broken;
    broken.failFrom = "";
    CDatabaseJob job;
    job.setJobType(job_type::Backup);
    EXPECT_THROW(ExecuteDatabaseJobNow(job, broken), FatalExitCalled);
    expectInErrorLog({"CDatabaseJob.cls/ExecuteDatabaseJobNow()."});
    putFile(path("Sales.mdb"), "new");
    putFile(path("backup/old"), "");
    job.setBackupSourceMDB(path("Sales.mdb"));
    job.setBackupTargetDirectory(path("backup"));
    broken.failFrom = "Backing Up";
    EXPECT_THROW(ExecuteDatabaseJobNow(job, broken), FatalExitCalled);
    expectInErrorLog({"CDatabaseJob.cls/ExecuteBackupNow()."});
}

} // namespace
} // namespace quorvex::test
