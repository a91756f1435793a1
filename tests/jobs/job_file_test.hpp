#pragma once

#include "jobs/database_job.hpp"

#include "fakes/fixed_clock.hpp"
#include "fakes/test_environment.hpp"
#include "platform/paths.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::test {

using Lines = std::vector<std::string>;

// The system's separator, as a text.
inline const std::string kSep(1, kPathSeparator);

class JobFileTest : public test::AppDirTest {
protected:
    std::string jobFile() const { return path("Job.tsk"); }

    // The text of these lines with CR LF ends, as on the original platform.
    static std::string crlf(const Lines& lines)
    {
        std::string text;
        for (const auto& line : lines)
            text += line + "\r\n";
        return text;
    }
    // A hand-edited job file with the given lines.
    std::string handEdited(const Lines& lines)
    {
        writeFile(jobFile(), crlf(lines));
        return jobFile();
    }

    CDatabaseJob open(const std::string& file)
    {
        CDatabaseJob job;
        EXPECT_EQ(job.OpenDatabaseJob(file), 0);
        return job;
    }

    // A record with every field of the file set.
    static CDatabaseJob nightlyBackup()
    {
        CDatabaseJob job;
        job.setJobName("Nightly Backup");
        job.setJobType(job_type::Backup);
        job.setDateLastRun(at(2026, 12, 5, 14, 15, 16)); // the file keeps no time of day,
        job.setStartTime(DateTime::fromTime(7, 5, 42));  // no seconds
        job.setFailure(true);                            // and no outcome of a run
        job.setFrequency(frequency::Weekly);
        job.SetDayOfWeek(true, true, true, true, true, false, false);
        job.setDayOfMonth(28);
        job.setSecurity(true);
        job.setMDWFile("/data/system.mdw");
        job.setUserID("admin");
        job.setPassword("s3cret=yes");
        job.setRepairCompactMDB("/data/repair.mdb");
        job.setAutoExecuteMDB("/data/run me.mdb");
        job.setBackupSourceMDB("D:/Data/Orders.mdb");
        job.setBackupTargetDirectory("E:" + kSep + "Backups");
        job.setCompress(true);
        job.setNumberCopies(3);
        return job;
    }
};

} // namespace quorvex::test
