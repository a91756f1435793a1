#include "jobs/database_job.hpp"

#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/error_handler.hpp"
#include "support/ini_file.hpp"
#include "support/numeric.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {

namespace {

constexpr std::string_view kModule = "CDatabaseJob.cls";

// The job file holds a password, so a new one is for its owner's eyes only.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR;

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

std::string boolText(bool value)
{
    return value ? "-1" : "0";
}

struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string value;
};

void syncPath(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A private copy of target beside it, with the target's content when there is one; its
// name starts with "." so that a leftover is never taken for a job at start-up. "" when it
// cannot be made.
std::string makeDraft(const std::filesystem::path& target, bool copyContent)
{
    std::string name(1, '.');
    name += target.filename().string();
    name += ".XXXXXX";
    std::string draft = (target.parent_path() / name).string();
    const int fd = ::mkstemp(draft.data());
    if (fd < 0)
        return {};
    ::close(fd);
    std::error_code ec;
    if (copyContent)
        std::filesystem::copy_file(target, draft, std::filesystem::copy_options::overwrite_existing,
                                   ec);
    if (ec) {
        std::filesystem::remove(draft, ec);
        return {};
    }
    return draft;
}

// Replaces target as a whole: the writer edits a draft beside it, which is then renamed over
// the target. A crash or a full disk in the middle leaves the old file as it was, never a job
// file with half its keys new. An existing file keeps its permissions, a new one gets the
// owner's only. Returns false when anything failed; the target is then untouched.
bool replaceWhole(const std::string& target, const std::function<bool(const std::string&)>& writer)
{
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return false;
    const mode_t mode = exists ? existing.st_mode & 07777 : kNewFileMode;
    const std::filesystem::path targetPath(target);
    const std::string draft = makeDraft(targetPath, exists);
    if (draft.empty())
        return false;
    if (writer(draft) && ::chmod(draft.c_str(), mode) == 0) {
        syncPath(draft, O_RDONLY);
        if (std::rename(draft.c_str(), target.c_str()) == 0) {
            const std::filesystem::path dir = targetPath.parent_path();
            syncPath(dir.empty() ? "." : dir.string(), O_RDONLY | O_DIRECTORY);
            return true;
        }
    }
    std::error_code ec;
    std::filesystem::remove(draft, ec);
    return false;
}

} // namespace

int16_t CDatabaseJob::OpenDatabaseJob(const std::string& fileName)
{
    return trapFatal(kModule, "OpenDatabaseJob()", [&] {
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
        return int16_t{0};
    });
}

int16_t CDatabaseJob::SaveDatabaseJob(const std::string& fileName) const
{
    return trapFatal(kModule, "SaveDatabaseJob()", [&] {
        // In the order of the file's layout; a fresh file gets exactly this order.
        const IniEntry entries[] = {
            {"General", "JobName", m_jobName},
            {"General", "JobType", std::to_string(m_jobType)},
            {"Schedule", "DateLastRun", formatDate(m_dateLastRun)},
            {"Schedule", "StartTime", formatTime(m_startTime)},
            {"Schedule", "Frequency", std::to_string(m_frequency)},
            {"Schedule", "DayOfWeek", std::to_string(m_dayOfWeek)},
            {"Schedule", "DayOfMonth", std::to_string(m_dayOfMonth)},
            {"Security", "SecurityUsed", boolText(m_security)},
            {"Security", "MDWFile", m_mdwFile},
            {"Security", "UserID", m_userID},
            {"Security", "Password", m_password},
            {"RepairCompact", "DatabaseFile", m_repairCompactMDB},
            {"AutoExecute", "DatabaseFile", m_autoExecuteMDB},
            {"Backup", "DatabaseFile", m_backupSourceMDB},
            {"Backup", "TargetPath", m_backupTargetDirectory},
            {"Backup", "Compress", boolText(m_compress)},
            {"Backup", "NumberCopies", std::to_string(m_numberCopies)},
        };
        // As with a single value, a file that cannot be written is left as it was and the
        // caller is not told.
        replaceWhole(fileName, [&](const std::string& draft) {
            for (const IniEntry& e : entries)
                if (!WriteIniData(e.section, e.key, e.value, draft))
                    return false;
            return true;
        });
        return int16_t{0};
    });
}

} // namespace quorvex
