#include "execution/actions.hpp"
#include "execution/content_check.hpp"
#include "execution/file_checks.hpp"
#include "execution/file_copy.hpp"
#include "execution/run_failure.hpp"
#include "execution/zip_step.hpp"
#include "platform/file_attributes.hpp"
#include "platform/file_lock.hpp"
#include "support/clock.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "support/preferences.hpp"
#include "support/strings.hpp"
#include "support/transaction_log.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace quorvex {

namespace {

constexpr const char* kPlainPrefix = "Backing Up   ";
constexpr const char* kZipPrefix = "Zipping Up   ";
constexpr const char* kVerifiedPrefix = "Verified     ";
constexpr size_t kDisplayWidth = 40;
constexpr size_t kDisplayHead = 3;
constexpr size_t kDisplayTail = 34;
// How long a run waits for another run into the same target: longer than most backups take,
// short enough that a stuck one does not hold every later run for good.
constexpr int64_t kTargetLockWaitSeconds = 300;
constexpr auto kTargetLockRetry = std::chrono::milliseconds(50);
constexpr const char* kTargetLockName = ".quorvex-backup.lock";

// Ends a backup run as failed. Its reason has been logged or shown already. Not a
// std::exception, so no error trap mistakes it for a run-time error.
struct RunFailed {};

[[noreturn]] void fail(const std::string& logLine)
{
    LogEvent(logLine);
    throw RunFailed{};
}

// Error 52 is what a drive without its diskette gives: the user may insert it and retry the
// step, or give up the run.
template <class Step> auto retryOnDiskError(Step&& step) -> decltype(step())
{
    for (;;) {
        try {
            return step();
        } catch (const RuntimeError& e) {
            if (e.number() != err::BadFileName)
                throw;
        }
        const std::string prompt = "Disk Error, please insert the diskette and try again.";
        if (MsgBox(prompt, mb::OkCancel, "Disk Error") != mb::Ok)
            fail("User cancelled out at error prompt to insert floppy disk.");
    }
}

// The names of one file's copies in the target directory: the current copy and the numbered
// earlier ones (1 the newest).
class CopyNames {
public:
    CopyNames(std::string basePath, std::string extension)
        : m_basePath(std::move(basePath)), m_extension(std::move(extension))
    {
    }
    const std::string& extension() const { return m_extension; }
    std::string current() const { return m_basePath + suffix(); }
    // The current copy's file name, without the folder.
    std::string fileName() const { return FilePathStripPath(current()); }
    std::string numbered(int n) const { return m_basePath + "_" + std::to_string(n) + suffix(); }

private:
    // A name without an extension keeps none, rather than gaining a lone dot.
    std::string suffix() const { return m_extension.empty() ? "" : "." + m_extension; }

    std::string m_basePath;
    std::string m_extension;
};

// The stem ends at the first dot of the file name; a leading dot belongs to the name itself.
size_t stemLength(const std::string& fileName)
{
    const auto dot = fileName.find('.', 1);
    return dot == std::string::npos ? fileName.size() : dot;
}

CopyNames plainNames(const std::string& file, const std::string& target)
{
    const std::string name = FilePathStripPath(file);
    const size_t stem = stemLength(name);
    return {target + name.substr(0, stem), stem < name.size() ? name.substr(stem + 1) : ""};
}

CopyNames zipNames(const std::string& file, const std::string& target)
{
    const std::string name = FilePathStripPath(file);
    return {target + name.substr(0, stemLength(name)), "zip"};
}

// Counted in characters, so the cut never splits one.
std::string displayName(const std::string& path)
{
    if (characterCount(path) < kDisplayWidth)
        return path;
    return std::string(firstCharacters(path, kDisplayHead)) + "..." +
           std::string(lastCharacters(path, kDisplayTail));
}

// The directory the file really lies in, through any link to it.
std::string realDirectoryOf(const std::string& file)
{
    return FilePathStripFileName(resolvedPath(file));
}

// A target set through the job's setter ends with a separator; a hand-edited one may not, and
// is the folder all the same rather than a prefix for the copies' names. An empty one stays
// empty, which the target check counts as missing.
std::string asFolder(std::string target)
{
    if (!target.empty() && target.back() != kPathSeparator)
        target += kPathSeparator;
    return target;
}

// A hand-edited negative count keeps no earlier copies, as 0 does, instead of ending the
// program: the count's getter refuses negative values.
int copiesToKeep(const CDatabaseJob& job)
{
    try {
        return job.NumberCopies();
    } catch (const RuntimeError& e) {
        if (e.number() != err::TypeMismatch)
            throw;
        return 0;
    }
}

std::string missingSourceLine(const std::string& file)
{
    return "Quorvex Pre-Emptive Error, file to backup does not exist: '" + file + "'.";
}

std::string renameFailureText(const CopyNames& names)
{
    const std::string& ext = names.extension();
    return std::string("Fatal Error intercepted by Quorvex when renaming ") + kCrLf +
           " your previous target file '" + names.current() + "." + kCrLf + kCrLf +
           "This is due most likely to the " + ext + " file being locked " + kCrLf +
           "because you were just viewing the " + ext + " file.  " + kCrLf + kCrLf +
           "The fix is to close all open " + ext + " files you are " + kCrLf + "viewing." + kCrLf;
}

// The folder in the target where a run writes its new copy (and zip its temporary files)
// before any earlier copy is touched. It is named after the current copy, so the next run of
// the same job finds and removes whatever a failed or killed run left in it; the run that made
// it removes it when it ends.
class WorkFolder {
public:
    WorkFolder(const std::string& target, const CopyNames& names)
        : m_path(target + "." + names.fileName() + ".partial")
    {
        atPath(m_path, [&] {
            removeAll();
            std::error_code error;
            if (!std::filesystem::create_directory(m_path, error) && !error)
                error = std::make_error_code(std::errc::file_exists);
            if (error)
                throw RuntimeError::fromErrno(error.value());
        });
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder()
    {
        // Whatever stays here (the folder cannot be removed) goes with the next run.
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::string file(const std::string& name) const { return m_path + kPathSeparator + name; }

private:
    // A link in its place is removed, never followed.
    void removeAll() const
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
        if (error)
            throw RuntimeError::fromErrno(error.value());
    }

    std::string m_path;
};

class BackupRun {
public:
    BackupRun(const CDatabaseJob& job, StatusDisplay& display)
        : m_display(display), m_target(asFolder(job.BackupTargetDirectory())),
          m_keep(copiesToKeep(job)), m_limit(preferences().NumberCopies),
          m_verify(preferences().VerifyBackups != 0), m_lock(m_target + kTargetLockName)
    {
        m_files.push_back(job.BackupSourceMDB());
        if (job.Security())
            m_files.push_back(job.MDWFile());
    }

    // The new copy is written whole beside the earlier ones before they are rotated, so a
    // copy that fails or is cut short costs none of them.
    void plainCopy() const
    {
        for (const auto& file : m_files) {
            checkNotInTarget(file);
            blink();
            checkTarget();
            showProgress(kPlainPrefix, file);
            checkSource(file);
            const CopyNames names = plainNames(file, m_target);
            lockTarget();
            const WorkFolder work(m_target, names);
            const std::string newCopy = work.file(names.fileName());
            ContentHash written;
            writeNewCopy(file, newCopy, names, m_verify ? &written : nullptr);
            if (m_verify)
                verifyCopy(written, newCopy, names);
            checkCurrentReplaceable(names);
            rotate(names);
            moveIntoPlace(newCopy, names);
        }
    }

    // Every file is checked before the earlier archives are touched, so a missing or
    // misplaced file never costs the archives already there; the new archive is made whole
    // before they are rotated.
    void zipArchive() const
    {
        // A job file without a database path is a missing source, as in a plain copy.
        if (m_files.front().find(kPathSeparator) == std::string::npos)
            fail(missingSourceLine(m_files.front()));
        const CopyNames names = zipNames(m_files.front(), m_target);
        checkTarget();
        for (const auto& file : m_files) {
            checkNotInTarget(file);
            checkSource(file);
        }
        lockTarget();
        // zip keeps its temporary files beside the archive, so they land in the work folder.
        const WorkFolder work(m_target, names);
        const std::string newArchive = work.file(names.fileName());
        for (const auto& file : m_files) {
            blink();
            showProgress(kZipPrefix, file);
            checkSource(file);
            if (!ZipFile(newArchive, file))
                throw RunFailed{};
        }
        if (m_verify)
            verifyArchive(newArchive, names);
        checkCurrentReplaceable(names);
        rotate(names);
        moveIntoPlace(newArchive, names);
    }

private:
    void blink() const
    {
        ShowLightsIdle(m_display);
        ShowLightsRunning(m_display);
    }

    // Runs into the same target never overlap, whichever program starts them: a run waits a
    // while for the one before it, then gives up before it has touched anything.
    void lockTarget() const
    {
        const DateTime deadline = Now().addSeconds(kTargetLockWaitSeconds);
        const std::string lockFile = m_target + kTargetLockName;
        while (!atPath(lockFile, [&] { return m_lock.tryLock(); })) {
            if (Now() >= deadline)
                fail("Quorvex Target Path is in use by another backup: '" + m_target + "'.");
            desktop().doEvents();
            std::this_thread::sleep_for(kTargetLockRetry);
        }
    }

    // A drive root ("A:\") is not tested: a drive without its diskette is no directory. Any
    // other short target is ("/q/" is as real a folder as a long one).
    bool targetIsTested() const { return !(m_target.size() <= 3 && isDriveRoot(m_target)); }

    // An empty target (a hand-edited job) would put the copies wherever the agent happens to
    // run, so it counts as missing.
    void checkTarget() const
    {
        if (!targetIsTested())
            return;
        const bool exists = !m_target.empty() && atPath(m_target, [&] {
            return retryOnDiskError([&] { return directoryExists(m_target); });
        });
        if (!exists)
            fail("Quorvex Target Path does not exist: '" + m_target + "'.");
    }

    // Also catches the same directory written another way, and a file that is a link into
    // the target: a backup must never rotate, delete or overwrite its own source.
    void checkNotInTarget(const std::string& file) const
    {
        // A job file without a database path is a missing source, not a reason to end the
        // program over a path without a directory.
        if (file.find(kPathSeparator) == std::string::npos)
            fail(missingSourceLine(file));
        // A target that cannot be looked up is named as such, not as the file's folder.
        if (targetIsTested())
            atPath(m_target, [&] { retryOnDiskError([&] { return directoryExists(m_target); }); });
        const bool same = atPath(file, [&] {
            return retryOnDiskError([&] {
                return sameDirectory(FilePathStripFileName(file), m_target) ||
                       sameDirectory(realDirectoryOf(file), m_target);
            });
        });
        if (same)
            fail("Source directory and target directory are the same: '" + m_target + "'.");
    }

    // The copies' names are deleted as patterns and zip expands patterns too, so a name
    // holding "*" or "?" would reach other files than its own.
    void checkSource(const std::string& file) const
    {
        if (!atPath(file, [&] { return retryOnDiskError([&] { return fileExists(file); }); }))
            fail(missingSourceLine(file));
        if (FilePathStripPath(file).find_first_of("*?") != std::string::npos)
            fail("Quorvex cannot back up a file whose name holds '*' or '?': '" + file + "'.");
    }

    void showProgress(const char* prefix, const std::string& file) const
    {
        m_display.setMessageText(prefix + displayName(file));
        LogEvent(prefix + file);
    }

    // When the disk is too full for the new copy, the copies that the rotation deletes
    // anyway make room for it first; no other copy is ever given up for a new one.
    void writeNewCopy(const std::string& file, const std::string& newCopy, const CopyNames& names,
                      ContentHash* written) const
    {
        try {
            retryOnDiskError([&] { copyFileToNew(file, newCopy, written); });
            return;
        } catch (const RuntimeError& e) {
            if (e.number() != err::DiskFull)
                throw;
        }
        dropCopiesTheRotationDeletes(names);
        retryOnDiskError([&] { copyFileToNew(file, newCopy, written); });
    }

    // The checks run before the rotation, so a copy that fails one costs no earlier copy.
    // The copy is read back from the disk against the checksum of what was written to it.
    static void verifyCopy(const ContentHash& written, const std::string& newCopy,
                           const CopyNames& names)
    {
        const uint64_t onDisk = atPath(
            newCopy, [&] { return retryOnDiskError([&] { return contentHashOnDisk(newCopy); }); });
        if (onDisk != written.value())
            fail("Quorvex Verification Error, the new copy does not match its source: '" +
                 names.current() + "'.");
        LogEvent(kVerifiedPrefix + names.current());
    }

    static void verifyArchive(const std::string& newArchive, const CopyNames& names)
    {
        if (!TestZipArchive(newArchive))
            fail("Quorvex Verification Error, the new archive failed zip's test: '" +
                 names.current() + "'.");
        LogEvent(kVerifiedPrefix + names.current());
    }

    // The one rename after the rotation that the target itself can refuse: a folder under the
    // current copy's name. Found before the rotation, it costs no earlier copy.
    static void checkCurrentReplaceable(const CopyNames& names)
    {
        const bool folder = atPath(names.current(), [&] {
            std::error_code error;
            const auto status = std::filesystem::symlink_status(names.current(), error);
            if (error && error != std::errc::no_such_file_or_directory)
                throw RuntimeError::fromErrno(error.value());
            return !error && std::filesystem::is_directory(status);
        });
        if (folder)
            fail("Quorvex cannot put the new copy in the place of a folder: '" + names.current() +
                 "'.");
    }

    // Replaces the current copy in one step: its name always holds a whole copy.
    static void moveIntoPlace(const std::string& newCopy, const CopyNames& names)
    {
        atPath(names.current(),
               [&] { retryOnDiskError([&] { renameReplacing(newCopy, names.current()); }); });
    }

    static void deleteCopy(const std::string& copy)
    {
        atPath(copy, [&] { retryOnDiskError([&] { deleteMatchingFiles(copy); }); });
    }

    void dropCopiesTheRotationDeletes(const CopyNames& names) const
    {
        // Copy 0 and below do not exist, whatever a hand-edited copy limit says.
        const int lowest = m_keep == 0 ? 1 : std::max(1, std::min(m_keep, m_limit));
        for (int n = m_limit; n >= lowest; --n)
            deleteCopy(names.numbered(n));
        if (m_keep == 0)
            deleteCopy(names.current());
    }

    // Copy n-1 becomes copy n for n up to the copies kept; copies above that, up to the
    // copy limit, are deleted.
    void rotate(const CopyNames& names) const
    {
        for (int n = m_limit; n >= 1; --n) {
            deleteCopy(names.numbered(n));
            if (m_keep == 0 || n > m_keep)
                continue;
            if (n == 1)
                renameCurrentCopy(names);
            else
                atPath(names.numbered(n - 1), [&] {
                    if (retryOnDiskError([&] { return fileExists(names.numbered(n - 1)); }))
                        retryOnDiskError(
                            [&] { renameNoReplace(names.numbered(n - 1), names.numbered(n)); });
                });
        }
    }

    // The usual reason this rename fails is a viewer holding the copy, so the user is told
    // how to fix it.
    static void renameCurrentCopy(const CopyNames& names)
    {
        if (!atPath(names.current(),
                    [&] { return retryOnDiskError([&] { return fileExists(names.current()); }); }))
            return;
        try {
            renameNoReplace(names.current(), names.numbered(1));
        } catch (const RuntimeError&) {
            MsgBox(renameFailureText(names), mb::OkOnly | mb::Exclamation, "Fatal Error");
            throw RunFailed{};
        }
    }

    StatusDisplay& m_display;
    std::vector<std::string> m_files;
    std::string m_target;
    int m_keep;
    int m_limit;
    bool m_verify;
    mutable ExclusiveFileLock m_lock;
};

} // namespace

int16_t ExecuteBackupNow(CDatabaseJob& job, StatusDisplay& display)
{
    const auto failed = [&] {
        job.setFailure(true);
        return int16_t{-1};
    };
    return trapRun(
        "CDatabaseJob.cls", "ExecuteBackupNow()",
        [&] {
            job.setFailure(false);
            const BackupRun run(job, display);
            try {
                if (job.Compress())
                    run.zipArchive();
                else
                    run.plainCopy();
            } catch (const RunFailed&) {
                return failed();
            }
            return int16_t{0};
        },
        failed);
}

} // namespace quorvex
