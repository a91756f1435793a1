#pragma once

#include "fakes/test_environment.hpp"
#include "support/date_time.hpp"

#include <filesystem>
#include <string>

namespace quorvex::test {

// An application directory with a jobs directory, a folder of databases and a backup target.
class AgentTest : public AppDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path jobsDir() const { return dir() / "DatabaseJobs"; }
    std::filesystem::path backupTarget() const { return dir() / "target"; }
    std::filesystem::path sourceOf(const std::string& stem) const
    {
        return dir() / "data" / (stem + ".mdb");
    }
    // Saves a daily plain-copy backup job of the database <stem>.mdb as <stem>.tsk; it last
    // ran on 1 November 2026. Returns the job file's path.
    std::string saveBackupJob(const std::string& stem, const std::string& name, DateTime startTime);
    // The transaction log's lines that open a run of the named job.
    int runsLogged(const std::string& name) const;
};

} // namespace quorvex::test
