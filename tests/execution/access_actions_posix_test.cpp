// What only POSIX systems let a test set up: a database behind a link that loops, and one
// whose name holds a double quote.
#include "access_job_test.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// A database whose folder cannot be looked up ends that run with its line and a non-fatal
// error-log entry, as any other failure of these actions; nothing ends the program.
TEST_F(AccessActionsTest, DatabaseBehindALinkThatCannotBeFollowedEndsOnlyTheRun)
{
    fs::create_symlink("loop", path("data/loop"));
    m_job.setRepairCompactMDB(path("data/loop/Orders.mdb"));
    m_job.setAutoExecuteMDB(path("data/loop/Orders.mdb"));
    const std::string error = "Quorvex Run Error #75 - Path/File access error: '";
    EXPECT_EQ(logOfRun(job_type::RepairCompact),
              Lines{error + path("data/loop/Orders.ldb") + "'."});
    EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{error + path("data/loop/Orders.mdb") + "'."});
    const std::string errorLog = readFile(path("quorvex.err"));
    for (const char* routine : {"ExecuteRepairCompactNow()", "ExecuteAutoExecNow()"})
        EXPECT_NE(errorLog.find("Module/Function: CDatabaseJob.cls/" + std::string(routine)),
                  std::string::npos)
            << errorLog;
    EXPECT_TRUE(m_desktop.boxes().empty());
}

// Such a name would let the rest of it reach Access as switches of its own.
TEST_F(AccessActionsTest, DoubleQuoteInTheDatabasesNameRefusesTheRun)
{
    const std::string quotedMdb = path("data/Or\"ders.mdb");
    putFile(quotedMdb, "database");
    m_job.setAutoExecuteMDB(quotedMdb);
    EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{kQuoteRefused});
    EXPECT_FALSE(fs::exists(quotedMdb + ".args"));
}

} // namespace
} // namespace quorvex::test
