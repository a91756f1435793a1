// What only POSIX systems let a test set up: a database behind a link that loops, and one
// whose name holds a double quote.
#include "access_job_test.hpp"

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// A database whose folder cannot be looked up ends that run with its line and a non-fatal
// error-log entry, as any other failure of these actions; a double quote in its name would let
// the rest of it reach Access as switches of its own. Nothing ends the program.
TEST_F(AccessActionsTest, DatabaseBehindALoopingLinkOrWithAQuoteInItsNameEndsOnlyTheRun)
{
    fs::create_symlink("loop", path("data/loop"));
    m_job.setRepairCompactMDB(path("data/loop/Orders.mdb"));
    m_job.setAutoExecuteMDB(path("data/loop/Orders.mdb"));
    const std::string error = "Quorvex Run Error #75 - Path/File access error: '";
    EXPECT_EQ(logOfRun(job_type::RepairCompact),
              Lines{error + path("data/loop/Orders.ldb") + "'."});
    EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{error + path("data/loop/Orders.mdb") + "'."});
    expectInErrorLog({"Module/Function: CDatabaseJob.cls/ExecuteRepairCompactNow()",
                      "Module/Function: CDatabaseJob.cls/ExecuteAutoExecNow()"});
    const std::string quotedMdb = path("data/Or\"ders.mdb");
    putFile(quotedMdb, "database");
    m_job.setAutoExecuteMDB(quotedMdb);
    EXPECT_EQ(logOfRun(job_type::AutoExecute), Lines{kQuoteRefused});
    EXPECT_FALSE(fs::exists(quotedMdb + ".args"));
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex::test
