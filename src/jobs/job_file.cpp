#include "jobs/database_job.hpp"

#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"
#include "support/ini_file.hpp"
#include "support/numeric.hpp"

#include <cerrno>
#include <string>
#include <string_view>

namespace quorvex {

namespace {

constexpr std::string_view kModule = "CDatabaseJob.cls";

bool readBool(const IniReader& file, std::string_view section, std::string_view key,
              std::string_view defaultValue)
{
    return Val(file.value(section, key, defaultValue)) != 0;
}

std::string_view boolText(bool value)
{
    return value ? "-1" : "0";
}

} // namespace

int16_t CDatabaseJob::OpenDatabaseJob(const std::string& fileName)
{
    return trapFatal(kModule, "OpenDatabaseJob()", [&] {
        readJobFile(fileName);
        return int16_t{0};
    });
}

bool CDatabaseJob::OpenDatabaseJobOrSkip(const std::string& fileName)
{
    try {
        readJobFile(fileName);
        return true;
    } catch (const RuntimeError& e) {
        WriteErrorLogEntry(false, e, kModule, "OpenDatabaseJob()", fileName);
    } catch (const std::exception& e) {
        WriteErrorLogEntry(false, toRuntimeError(e), kModule, "OpenDatabaseJob()", fileName);
    }
    return false;
}

void CDatabaseJob::readJobFile(const std::string& fileName)
{
    // One read of the file for all its keys.
    const IniReader f(fileName);
    m_jobName = f.value("General", "JobName", "*ERROR*");
    m_jobType = f.int16Value("General", "JobType", "1");
    m_dateLastRun = parseDate(f.value("Schedule", "DateLastRun", formatDate(Today())));
    m_startTime = parseTime(f.value("Schedule", "StartTime", "00:00"));
    const std::string frequency = f.value("Schedule", "Frequency", "");
    m_frequency = frequency.empty() ? frequency::Daily : toInt32(Val(frequency));
    m_dayOfWeek = f.int16Value("Schedule", "DayOfWeek", "1");
    m_dayOfMonth = f.int16Value("Schedule", "DayOfMonth", "1");
    m_security = readBool(f, "Security", "SecurityUsed", "0");
    m_mdwFile = f.value("Security", "MDWFile", "");
    m_userID = f.value("Security", "UserID", "");
    m_password = f.value("Security", "Password", "");
    m_repairCompactMDB = f.value("RepairCompact", "DatabaseFile", "");
    m_autoExecuteMDB = f.value("AutoExecute", "DatabaseFile", "");
    m_backupSourceMDB = f.value("Backup", "DatabaseFile", "");
    m_backupTargetDirectory = f.value("Backup", "TargetPath", "");
    m_compress = readBool(f, "Backup", "Compress", "-1");
    m_numberCopies = f.int16Value("Backup", "NumberCopies", "3");
}

int16_t CDatabaseJob::SaveDatabaseJob(const std::string& fileName) const
{
    return trapFatal(kModule, "SaveDatabaseJob()", [&] {
        const std::string jobType = std::to_string(m_jobType);
        const std::string dateLastRun = formatDate(m_dateLastRun);
        const std::string startTime = formatTime(m_startTime);
        const std::string frequency = std::to_string(m_frequency);
        const std::string dayOfWeek = std::to_string(m_dayOfWeek);
        const std::string dayOfMonth = std::to_string(m_dayOfMonth);
        const std::string numberCopies = std::to_string(m_numberCopies);
        // In the order of the file's layout; a fresh file gets exactly this order.
        const IniValue values[] = {
            {"General", "JobName", m_jobName},
            {"General", "JobType", jobType},
            {"Schedule", "DateLastRun", dateLastRun},
            {"Schedule", "StartTime", startTime},
            {"Schedule", "Frequency", frequency},
            {"Schedule", "DayOfWeek", dayOfWeek},
            {"Schedule", "DayOfMonth", dayOfMonth},
            {"Security", "SecurityUsed", boolText(m_security)},
            {"Security", "MDWFile", m_mdwFile},
            {"Security", "UserID", m_userID},
            {"Security", "Password", m_password},
            {"RepairCompact", "DatabaseFile", m_repairCompactMDB},
            {"AutoExecute", "DatabaseFile", m_autoExecuteMDB},
            {"Backup", "DatabaseFile", m_backupSourceMDB},
            {"Backup", "TargetPath", m_backupTargetDirectory},
            {"Backup", "Compress", boolText(m_compress)},
            {"Backup", "NumberCopies", numberCopies},
        };
        // One replacement of the whole file, so a crash or a full disk never leaves a job with
        // half its keys new. A file that cannot be written is left as it was.
        if (WriteIniValues(values, fileName))
            return int16_t{0};
        return static_cast<int16_t>(errno != 0 ? errno : EIO);
    });
}

} // namespace quorvex
