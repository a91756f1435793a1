#pragma once

#include "execution/execute_job.hpp"

#include "execution_test.hpp"

#include <filesystem>

namespace quorvex::test {

// Database files open with the fake Access (copied under a folder whose name holds blanks):
// through a private desktop's association service on Linux, which reads its folders once per
// process, so this is in place before the first test; through the registry of the Wine prefix on
// Windows.
class AccessAssociations : public ::testing::Environment {
public:
    static std::filesystem::path accessProgram();
    void SetUp() override;
    void TearDown() override;
};

using Lines = std::vector<std::string>;

inline const std::string kQuoteRefused =
    "Quorvex cannot start Access: a double quote in the path of Access, the database or the "
    "workgroup file, the user ID or the password would change its command line.";

// Runs of a job named "Orders" whose repair and compact and auto execute both name
// data/Orders.mdb, with the probe file in place.
class AccessActionsTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        installFromBuild("TestForAccess.mdb");
        m_mdb = path("data/Orders.mdb");
        putFile(m_mdb, "database");
        m_job.setJobName("Orders");
        m_job.setRepairCompactMDB(m_mdb);
        m_job.setAutoExecuteMDB(m_mdb);
    }
    // Runs the job as the type, which must end normally; the log lines of the run after its
    // header.
    Lines logOfRun(int16_t type)
    {
        m_job.setJobType(type);
        EXPECT_EQ(ExecuteDatabaseJobNow(m_job, m_display), 0);
        EXPECT_FALSE(m_job.Failure());
        const Lines all = logMessages();
        std::filesystem::remove(transactionLogPath());
        return {all.begin() + 1, all.end()};
    }
    // The text followed by the database path in single quotes and a full stop.
    std::string aboutMdb(const std::string& text) const { return text + " '" + m_mdb + "'."; }

    std::string m_mdb;
    CDatabaseJob m_job;
};

} // namespace quorvex::test
