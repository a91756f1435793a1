#include "execution/execute_job.hpp"

#include "access_associations.hpp"
#include "execution_test.hpp"

namespace quorvex::test {
namespace {

const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new AccessAssociations(false));

// A desktop on which no program opens database files.
class NoAccessTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        installFromBuild("TestForAccess.mdb");
        putFile(path("Orders.mdb"), "database");
        m_job.setJobName("Orders");
        m_job.setRepairCompactMDB(path("Orders.mdb"));
        m_job.setAutoExecuteMDB(path("Orders.mdb"));
    }
    int16_t run(int16_t type)
    {
        m_job.setJobType(type);
        return ExecuteDatabaseJobNow(m_job, m_display);
    }

    CDatabaseJob m_job;
};

TEST_F(NoAccessTest, CompactLogsThatAccessDoesNotExist)
{
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_EQ(logMessages().back(), "Access does not exist on this machine.");
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(NoAccessTest, AutoExecuteSaysSoInABoxAndLogsNothing)
{
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_FALSE(m_job.Failure());
    EXPECT_EQ(logMessages().size(), 1u);
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    const auto& box = m_desktop.boxes().front();
    EXPECT_EQ(box.text,
              "Access does not exist on this machine.\r\n\r\nOperation has been cancelled.");
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.style, mb::OkOnly | mb::Exclamation);
}

} // namespace
} // namespace quorvex::test
