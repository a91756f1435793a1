#include "jobs/database_job.hpp"

#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"
#include "support/ini_file.hpp"
#include "support/numeric.hpp"

#include <string>
#include <string_view>

namespace quorvex {

namespace {

constexpr std::string_view kModule = "CDatabaseJob.cls";

std::string readValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                      const std::string& file)
{
    std::string value;
    GetIniData(section, key, defaultValue, value, file);
    return value;
}

int16_t readInt16(std::string_view section, std::string_view key, std::string_view defaultValue,
                  const std::string& file)
{
    return toInt16(Val(readValue(section, key, defaultValue, file)));
}

bool readBool(std::string_view section, std::string_view key, std::string_view defaultValue,
              const std::string& file)
{
    return Val(readValue(section, key, defaultValue, file)) != 0;
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
    const std::string& f = fileName;
    m_jobName = readValue("General", "JobName", "*ERROR*", f);
    m_jobType = readInt16("General", "JobType", "1", f);
    m_dateLastRun = parseDate(readValue("Schedule", "DateLastRun", formatDate(Today()), f));
    m_startTime = parseTime(readValue("Schedule", "StartTime", "00:00", f));
    const std::string frequency = readValue("Schedule", "Frequency", "", f);
    m_frequency = frequency.empty() ? frequency::Daily : toInt32(Val(frequency));
    m_dayOfWeek = readInt16("Schedule", "DayOfWeek", "1", f);
    m_dayOfMonth = readInt16("Schedule", "DayOfMonth", "1", f);
    m_security = readBool("Security", "SecurityUsed", "0", f);
    m_mdwFile = readValue("Security", "MDWFile", "", f);
    m_userID = readValue("Security", "UserID", "", f);
    m_password = readValue("Security", "Password", "", f);
    m_repairCompactMDB = readValue("RepairCompact", "DatabaseFile", "", f);
    m_autoExecuteMDB = readValue("AutoExecute", "DatabaseFile", "", f);
    m_backupSourceMDB = readValue("Backup", "DatabaseFile", "", f);
    m_backupTargetDirectory = readValue("Backup", "TargetPath", "", f);
    m_compress = readBool("Backup", "Compress", "-1", f);
    m_numberCopies = readInt16("Backup", "NumberCopies", "3", f);
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
        // half its keys new. As with a single value, a file that cannot be written is left as
        // it was and the caller is not told.
        WriteIniValues(values, fileName);
        return int16_t{0};
    });
}

} // namespace quorvex
