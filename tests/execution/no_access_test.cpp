#include "access_job_test.hpp"

namespace quorvex::test {
namespace {

const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new AccessAssociations(false));

using NoAccessTest = AccessJobTest;

// Repair and compact only logs it; auto execute says so in a box and logs nothing but the header.
TEST_F(NoAccessTest, WithoutAccessNeitherActionStartsAnything)
{
    const std::string header = "-- Orders " + std::string(54, '-');
    EXPECT_EQ(run(job_type::RepairCompact), 0);
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_EQ(run(job_type::AutoExecute), 0);
    EXPECT_FALSE(m_job.Failure());
    EXPECT_EQ(logMessages(),
              (std::vector<std::string>{header, "Access does not exist on this machine.", header}));
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    const auto& box = m_desktop.boxes().front();
    EXPECT_EQ(box.text,
              "Access does not exist on this machine.\r\n\r\nOperation has been cancelled.");
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.style, mb::OkOnly | mb::Exclamation);
}

} // namespace
} // namespace quorvex::test
