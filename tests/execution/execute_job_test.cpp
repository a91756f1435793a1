#include "execution/execute_job.hpp"

#include "execution_test.hpp"

#include <tuple>

namespace quorvex::test {
namespace {

using ExecuteJobTest = ExecutionTest;

// The header pads the name with dashes to sixty characters; an unknown job type only shows
// its progress with the lights running and the pointer busy, and returns 0.
TEST_F(ExecuteJobTest, UnknownJobTypeLogsTheHeaderShowsProgressAndRunsNothing)
{
    const std::vector<std::tuple<std::string, int16_t, std::string>> rows = {
        // Fourteen characters, fifteen bytes.
        {"Sicherung B\xC3\xBCro", 0, "-- Sicherung B\xC3\xBCro " + std::string(46, '-')},
        {std::string(60, 'n'), 4, "-- " + std::string(60, 'n') + " "},
        {std::string(75, 'n'), 0, "-- " + std::string(75, 'n') + " "},
    };
    for (const auto& [name, type, header] : rows) {
        SCOPED_TRACE(name);
        RecordingDisplay display;
        std::vector<std::string> seen;
        m_desktop.onDoEvents(
            [&] { seen.push_back(display.lights + (m_desktop.busy() ? "B" : "")); });
        CDatabaseJob job;
        job.setJobName(name);
        job.setJobType(type);
        EXPECT_EQ(ExecuteDatabaseJobNow(job, display), 0);
        m_desktop.onDoEvents({});
        EXPECT_EQ(logMessages().back(), header);
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
