#pragma once

#include "execution/execute_job.hpp"
#include "fakes/xdg_tree.hpp"

#include "execution_test.hpp"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace quorvex::test {

// A private desktop whose association service names, for database files, the fake Access
// (copied under a folder whose name holds blanks) or, when withAccess is false, nothing.
// The service reads its folders once per process, so this is in place before the first test.
class AccessAssociations : public ::testing::Environment {
public:
    explicit AccessAssociations(bool withAccess) : m_withAccess(withAccess) {}

    static std::filesystem::path accessProgram()
    {
        return root() / "Program Files/Microsoft Office/MSACCESS";
    }
    void SetUp() override
    {
        XdgTree tree(root() / "xdg");
        if (m_withAccess) {
            std::filesystem::create_directories(accessProgram().parent_path());
            std::filesystem::copy_file(QUORVEX_FAKE_ACCESS, accessProgram());
            tree.associateExtension(".mdb", accessProgram().string());
        }
        tree.applyEnvironment();
    }
    void TearDown() override { std::filesystem::remove_all(root()); }

private:
    static std::filesystem::path root()
    {
        return std::filesystem::temp_directory_path() / ("quorvex-xdg-" + std::to_string(getpid()));
    }

    bool m_withAccess;
};

// A job named "Orders" whose repair and compact and auto execute both name data/Orders.mdb,
// with the probe file in place.
class AccessJobTest : public ExecutionTest {
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
    int16_t run(int16_t type)
    {
        m_job.setJobType(type);
        return ExecuteDatabaseJobNow(m_job, m_display);
    }

    std::string m_mdb;
    CDatabaseJob m_job;
};

} // namespace quorvex::test
