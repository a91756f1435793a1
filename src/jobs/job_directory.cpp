#include "jobs/job_directory.hpp"

#include "platform/file_attributes.hpp"
#include "support/error.hpp"
#include "support/files.hpp"
#include "support/strings.hpp"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace quorvex {

namespace {

// A plain file that a plain listing shows. A pipe or device is no job file (opening one could
// block for good), nor is a dangling link or an entry gone since the listing found it.
bool isJobFile(const std::filesystem::directory_entry& entry, const std::string& path)
{
    std::error_code statusError;
    if (!entry.is_regular_file(statusError))
        return false;
    try {
        return shownInPlainListing(fileAttributes(path));
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace

std::vector<std::string> listJobFiles(const std::string& jobsDirectory)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ec;
    fs::directory_iterator it(jobsDirectory, ec);
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
        return files;
    std::string prefix = jobsDirectory;
    if (prefix.empty() || prefix.back() != kPathSeparator)
        prefix += kPathSeparator;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string path = prefix + it->path().filename().string();
        if (isJobFile(*it, path))
            files.push_back(path);
    }
    if (ec)
        throw RuntimeError::fromErrno(ec.value());
    return files;
}

std::string jobFileName(std::string_view jobName)
{
    std::string stem = StripBadChars(jobName, kJobNameBadChars, "");
    stem = StripBadChars(stem, std::string(1, kPathSeparator), "");
    stem.erase(0, stem.find_first_not_of('.'));
    if (stem.empty())
        return {};
    return stem + ".tsk";
}

// uKill would read "*" and "?" as a pattern and so delete other jobs' files as well.
void deleteJobFile(const std::string& path)
{
    if (FilePathStripPath(path).find_first_of("*?") == std::string::npos) {
        uKill(path);
        return;
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec)
        throw RuntimeError::fromErrno(ec.value());
}

} // namespace quorvex
