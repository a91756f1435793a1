#include "support/files.hpp"

#include "platform/file_association.hpp"
#include "platform/file_attributes.hpp"
#include "platform/file_system.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string_view>
#include <thread>
#include <vector>

namespace quorvex {

namespace {

constexpr std::string_view kModule = "libFiles.bas";

RuntimeError noSeparatorError(std::string source)
{
    return RuntimeError(err::ObjectErrorBase + 1, std::move(source), "Error, no \\'s in path");
}

size_t lastSeparator(const std::string& path, const char* routine)
{
    const size_t pos = path.rfind(kPathSeparator);
    if (pos == std::string::npos)
        throw noSeparatorError(routine);
    return pos;
}

// "*" stands for any run of characters, "?" for exactly one; everything else, a leading dot
// included, matches itself.
bool matchesWildcard(std::string_view name, std::string_view pattern)
{
    size_t n = 0;
    size_t p = 0;
    size_t starPattern = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    return pattern.find_first_not_of('*', p) == std::string_view::npos;
}

// Every file (no folder) of the directory whose name matches the pattern. A missing directory
// holds nothing.
std::vector<std::string> matchingFiles(const std::string& directory, const std::string& pattern)
{
    std::vector<std::string> found;
    if (pattern.find_first_of("*?") == std::string::npos) {
        // A plain name needs no listing, which keeps long backup rotations cheap.
        if (!pattern.empty() && isNonFolderEntry(directory + pattern))
            found.push_back(directory + pattern);
        return found;
    }
    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return found;
    if (error)
        throw RuntimeError::fromErrno(error.value());
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (matchesWildcard(name, pattern) && isNonFolderEntry(directory + name))
            found.push_back(directory + name);
    }
    return found;
}

void deleteFile(const std::string& path)
{
    // Someone else may have deleted it since the listing; gone is what we want.
    try {
        clearFileAttributes(path);
    } catch (const RuntimeError& e) {
        if (e.lastDllError() != ENOENT)
            throw;
    }
    removeFile(path);
}

// Repeats the step until the file system shows the wanted state, letting window events run
// between rounds. A step that the file system refuses throws, so a failure never spins.
template <class Done, class Step> void settle(Done&& done, Step&& step)
{
    while (!done()) {
        step();
        if (done())
            return;
        desktop().doEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void deleteMatching(const std::string& directory, const std::string& pattern)
{
    std::vector<std::string> victims;
    settle(
        [&] {
            victims = matchingFiles(directory, pattern);
            return victims.empty();
        },
        [&] {
            for (const auto& victim : victims)
                deleteFile(victim);
        });
}

} // namespace

void deleteMatchingFiles(const std::string& path)
{
    const size_t separator = path.rfind(kPathSeparator);
    if (separator == std::string::npos)
        throw noSeparatorError("FilePathStripFileName()");
    deleteMatching(path.substr(0, separator + 1), path.substr(separator + 1));
}

int16_t uKill(const std::string& path)
{
    return trapFatal(kModule, "uKill()", [&] {
        const std::string directory = FilePathStripFileName(path);
        deleteMatching(directory, FilePathStripPath(path));
        return int16_t{0};
    });
}

int16_t uMkDir(std::string path)
{
    return trapFatal(kModule, "uMkDir()", [&] {
        FormatPath(path, false);
        settle([&] { return entryExists(path); }, [&] { makeDirectory(path); });
        return int16_t{0};
    });
}

void FormatPath(std::string& path, bool addSeparator)
{
    trapFatal(kModule, "FormatPath()", [&] {
        const bool hasSeparator = !path.empty() && path.back() == kPathSeparator;
        if (addSeparator && !hasSeparator)
            path += kPathSeparator;
        else if (!addSeparator && hasSeparator)
            path.pop_back();
    });
}

std::string FilePathStripFileName(const std::string& path)
{
    return trapFatal(kModule, "FilePathStripFileName()", [&] {
        return path.substr(0, lastSeparator(path, "FilePathStripFileName()") + 1);
    });
}

std::string FilePathStripPath(const std::string& path)
{
    return trapFatal(kModule, "FilePathStripPath()",
                     [&] { return path.substr(lastSeparator(path, "FilePathStripPath()") + 1); });
}

bool isNonFolderEntry(const std::string& path)
{
    try {
        const EntryKind kind = entryKind(path);
        return kind == EntryKind::File || kind == EntryKind::Other ||
               (kind == EntryKind::Missing && entryExists(path));
    } catch (const RuntimeError&) {
        return entryExists(path);
    }
}

std::string FindExecutable(const std::string& documentPath)
{
    return trapFatal(kModule, "FindExecutable()", [&] {
        const std::string program = associatedProgram(documentPath).value_or("");
        constexpr std::string_view kTrimmed = "\" ";
        const size_t last = program.find_last_not_of(kTrimmed);
        if (last == std::string::npos)
            return std::string();
        const size_t first = program.find_first_not_of(kTrimmed);
        return program.substr(first, last + 1 - first);
    });
}

} // namespace quorvex
