#pragma once

#include "support/date_time.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex {

// JobType codes.
namespace job_type {
inline constexpr int16_t RepairCompact = 1;
inline constexpr int16_t AutoExecute = 2;
inline constexpr int16_t Backup = 3;
} // namespace job_type

// Frequency codes.
namespace frequency {
inline constexpr int32_t Daily = 1;
inline constexpr int32_t Weekly = 2;
inline constexpr int32_t Monthly = 3;
} // namespace frequency

// When a job is due: its next-run date at 00:00 plus its start time in whole minutes, as the
// job list shows them. It is due once the present moment is strictly later.
DateTime dueMoment(DateTime nextRun, DateTime startTime);

// One Database Job: a scheduled maintenance job on one Access database file. Booleans follow
// the classic convention (true is stored as -1). The job file is the lasting state; callers
// create a record, fill it from a file or the wizard, use it and drop it.
class CDatabaseJob {
public:
    const std::string& JobName() const { return m_jobName; }
    void setJobName(std::string value) { m_jobName = std::move(value); }
    int16_t JobType() const { return m_jobType; }
    void setJobType(int16_t value) { m_jobType = value; }
    DateTime DateLastRun() const { return m_dateLastRun; }
    void setDateLastRun(DateTime value) { m_dateLastRun = value; }
    // Computed afresh from the schedule and the present moment on every read.
    DateTime DateNextRun() const;
    // The run that passed without the job running: the latest scheduled moment (the start
    // time, in whole minutes, on a day the schedule selects) at or before now, when it falls
    // on a day after DateLastRun; nothing otherwise.
    std::optional<DateTime> MissedRun() const;
    DateTime StartTime() const { return m_startTime; }
    void setStartTime(DateTime value) { m_startTime = value; }
    int32_t Frequency() const { return m_frequency; }
    void setFrequency(int32_t value) { m_frequency = value; }
    // These three pass the value through its decimal text with a leading "0" and back, so a
    // negative value (only from a hand-edited file) is run-time error 13.
    int16_t DayOfWeek() const;
    void setDayOfWeek(int16_t value) { m_dayOfWeek = value; }
    int16_t DayOfMonth() const;
    void setDayOfMonth(int16_t value) { m_dayOfMonth = value; }
    bool Compress() const { return m_compress; }
    void setCompress(bool value) { m_compress = value; }
    int16_t NumberCopies() const;
    void setNumberCopies(int16_t value) { m_numberCopies = value; }
    const std::string& RepairCompactMDB() const { return m_repairCompactMDB; }
    void setRepairCompactMDB(std::string value) { m_repairCompactMDB = std::move(value); }
    const std::string& AutoExecuteMDB() const { return m_autoExecuteMDB; }
    void setAutoExecuteMDB(std::string value) { m_autoExecuteMDB = std::move(value); }
    const std::string& BackupSourceMDB() const { return m_backupSourceMDB; }
    void setBackupSourceMDB(std::string value) { m_backupSourceMDB = std::move(value); }
    const std::string& BackupTargetDirectory() const { return m_backupTargetDirectory; }
    // Appends the path separator when the value does not end with one.
    void setBackupTargetDirectory(std::string value);
    bool Failure() const { return m_failure; }
    // Written only by the actions that run the job.
    void setFailure(bool value) { m_failure = value; }
    bool Security() const { return m_security; }
    void setSecurity(bool value) { m_security = value; }
    const std::string& MDWFile() const { return m_mdwFile; }
    void setMDWFile(std::string value) { m_mdwFile = std::move(value); }
    const std::string& UserID() const { return m_userID; }
    void setUserID(std::string value) { m_userID = std::move(value); }
    const std::string& Password() const { return m_password; }
    void setPassword(std::string value) { m_password = std::move(value); }

    // Rebuilds the weekday mask: Sunday 2, Monday 4, ... Saturday 128.
    void SetDayOfWeek(bool mon, bool tue, bool wed, bool thu, bool fri, bool sat, bool sun);

    // Reads the job file into the fields (defaults for missing keys). Returns 0.
    int16_t OpenDatabaseJob(const std::string& fileName);
    // Reads the job file as OpenDatabaseJob does, for callers that list many jobs: a file
    // that cannot be read or converted is reported once as a non-fatal error-log entry naming
    // the file, and false comes back, so the caller leaves that one job out.
    bool OpenDatabaseJobOrSkip(const std::string& fileName);
    // Writes every key of the job file from the fields. Returns 0, or the system's error
    // number when the file could not be written (it is then left as it was).
    int16_t SaveDatabaseJob(const std::string& fileName) const;

private:
    void readJobFile(const std::string& fileName);

    std::string m_jobName;
    int16_t m_jobType = 0;
    DateTime m_dateLastRun;
    DateTime m_startTime;
    int32_t m_frequency = 0;
    int16_t m_dayOfWeek = 0;
    int16_t m_dayOfMonth = 0;
    bool m_compress = false;
    int16_t m_numberCopies = 0;
    std::string m_repairCompactMDB;
    std::string m_autoExecuteMDB;
    std::string m_backupSourceMDB;
    std::string m_backupTargetDirectory;
    bool m_failure = false;
    bool m_security = false;
    std::string m_mdwFile;
    std::string m_userID;
    std::string m_password;
};

} // namespace quorvex
