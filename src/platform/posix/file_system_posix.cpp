#include "platform/file_system.hpp"

#include "platform/paths.hpp"
#include "support/error.hpp"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {

namespace {

void check(bool ok)
{
    if (!ok)
        throwLastOsError();
}

int fdOf(intptr_t handle)
{
    return static_cast<int>(handle);
}

// The folder a path lies in, for flushing a rename.
std::string folderOf(const std::string& path)
{
    const size_t separator = path.rfind(kPathSeparator);
    if (separator == std::string::npos)
        return ".";
    return separator == 0 ? "/" : path.substr(0, separator);
}

// Makes a rename in the folder durable; a folder that cannot be flushed (some file systems
// refuse) leaves it to the system.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// What the path names, links followed; nothing when nothing is there.
std::optional<struct stat> statIfPresent(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return info;
    if (errno == ENOENT || errno == ENOTDIR)
        return std::nullopt;
    throwLastOsError();
}

bool writeFully(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

EntryKind entryKind(const std::string& path)
{
    const auto info = statIfPresent(path);
    if (!info)
        return EntryKind::Missing;
    if (S_ISREG(info->st_mode))
        return EntryKind::File;
    return S_ISDIR(info->st_mode) ? EntryKind::Directory : EntryKind::Other;
}

bool entryExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool sameEntry(const std::string& a, const std::string& b)
{
    const auto first = statIfPresent(a);
    const auto second = statIfPresent(b);
    return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
}

void makeDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST)
        return;
    if (errno == ENOENT)
        throw RuntimeError(err::PathNotFound, std::string(kRuntimeSource),
                           describeError(err::PathNotFound), ENOENT);
    throwLastOsError();
}

void removeFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throwLastOsError();
}

void renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    check(errno == EINVAL);
    // File systems that cannot refuse the replacement themselves.
    if (entryExists(to))
        throw RuntimeError::fromErrno(EEXIST);
    check(::rename(from.c_str(), to.c_str()) == 0);
}

void renameReplacing(const std::string& from, const std::string& to)
{
    check(::rename(from.c_str(), to.c_str()) == 0);
    syncFolder(folderOf(to));
}

OpenFile OpenFile::forReading(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    check(fd >= 0);
    return OpenFile(fd);
}

OpenFile OpenFile::forReadingFromDisk(const std::string& path)
{
    OpenFile file = forReading(path);
    // Pages written back already are dropped; a file system that keeps them anyway is read
    // from memory, as any other program would read it. Reading ahead hides the disk's latency.
    ::posix_fadvise(fdOf(file.m_handle), 0, 0, POSIX_FADV_DONTNEED);
    ::posix_fadvise(fdOf(file.m_handle), 0, 0, POSIX_FADV_SEQUENTIAL);
    return file;
}

OpenFile OpenFile::createNew(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    check(fd >= 0);
    return OpenFile(fd);
}

OpenFile OpenFile::createBeside(const std::string& path, std::string& temporaryName)
{
    struct stat status {};
    const mode_t mode =
        ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : S_IRUSR | S_IWUSR;
    std::string name = folderOf(path) + "/.quorvex-ini-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    check(fd >= 0);
    temporaryName = name;
    OpenFile file(fd);
    check(::fchmod(fd, mode) == 0);
    return file;
}

OpenFile::OpenFile(OpenFile&& other) noexcept : m_handle(other.m_handle)
{
    other.m_handle = -1;
}

OpenFile::~OpenFile()
{
    if (m_handle >= 0)
        ::close(fdOf(m_handle));
}

size_t OpenFile::readSome(char* buffer, size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fdOf(m_handle), buffer, size);
        if (got >= 0)
            return static_cast<size_t>(got);
        check(errno == EINTR);
    }
}

void OpenFile::writeAll(std::string_view data)
{
    check(writeFully(fdOf(m_handle), data));
}

bool OpenFile::copyInSystem(OpenFile& source)
{
    constexpr size_t kChunk = size_t{1} << 30;
    for (bool first = true;; first = false) {
        const ssize_t n =
            ::copy_file_range(fdOf(source.m_handle), nullptr, fdOf(m_handle), nullptr, kChunk, 0);
        if (n == 0)
            return true;
        if (n > 0 || errno == EINTR)
            continue;
        if (first && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL))
            return false;
        throwLastOsError();
    }
}

void OpenFile::takeAttributesOf(OpenFile& source)
{
    struct stat info {};
    check(::fstat(fdOf(source.m_handle), &info) == 0);
    check(::fchmod(fdOf(m_handle), info.st_mode & 07777) == 0);
    const std::array<timespec, 2> times{timespec{0, UTIME_OMIT}, info.st_mtim};
    check(::futimens(fdOf(m_handle), times.data()) == 0);
}

void OpenFile::flushAndClose()
{
    const int fd = fdOf(m_handle);
    m_handle = -1;
    // Closing reports write-back errors, so it is checked before the file is trusted.
    const bool flushed = ::fsync(fd) == 0;
    const int reason = errno;
    const bool closed = ::close(fd) == 0;
    if (!flushed)
        throw RuntimeError::fromErrno(reason);
    check(closed);
}

std::optional<std::string> readPlainFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return std::nullopt;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

int writableFileCheck(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return errno;
    // Like the profile API, a read-only file stays as it is, even for root.
    if (!S_ISREG(status.st_mode) || !(status.st_mode & S_IWUSR) ||
        ::access(path.c_str(), W_OK) != 0)
        return S_ISDIR(status.st_mode) ? EISDIR : EACCES;
    return 0;
}

std::string resolvedPath(const std::string& path)
{
    const std::unique_ptr<char, void (*)(void*)> resolved(::realpath(path.c_str(), nullptr),
                                                          &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

} // namespace quorvex
