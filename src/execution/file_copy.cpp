#include "execution/file_copy.hpp"

#include "execution/run_failure.hpp"
#include "support/error.hpp"
#include "support/files.hpp"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quorvex {

namespace {

CopyProgressHook g_progressHook;

// Owns a file descriptor.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd)
    {
        if (m_fd < 0)
            throwLastOsError();
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    // Closing reports write-back errors, so it is checked before the file is trusted.
    void close()
    {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            throwLastOsError();
    }

private:
    int m_fd;
};

void check(bool ok)
{
    if (!ok)
        throwLastOsError();
}

void copyByReadWrite(int in, int out)
{
    std::array<char, 1 << 20> buffer{};
    uint64_t total = 0;
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        check(got >= 0);
        if (got == 0)
            return;
        for (ssize_t written = 0; written < got;) {
            const ssize_t n =
                ::write(out, buffer.data() + written, static_cast<size_t>(got - written));
            if (n < 0 && errno == EINTR)
                continue;
            check(n >= 0);
            written += n;
        }
        total += static_cast<uint64_t>(got);
        if (g_progressHook)
            g_progressHook(total);
    }
}

// Lets the kernel copy (and share blocks where the file system can); falls back to reading
// and writing where it cannot copy between these two files, and where a test watches the
// copy block by block.
void copyContent(int in, int out)
{
    if (g_progressHook) {
        copyByReadWrite(in, out);
        return;
    }
    constexpr size_t kChunk = size_t{1} << 30;
    for (bool first = true;; first = false) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
        if (n == 0)
            return;
        if (n > 0 || errno == EINTR)
            continue;
        if (first &&
            (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)) {
            copyByReadWrite(in, out);
            return;
        }
        throwLastOsError();
    }
}

void writeCopy(int in, const struct stat& info, Fd& out)
{
    copyContent(in, out.get());
    check(::fchmod(out.get(), info.st_mode & 07777) == 0);
    const std::array<timespec, 2> times{timespec{0, UTIME_OMIT}, info.st_mtim};
    check(::futimens(out.get(), times.data()) == 0);
    check(::fsync(out.get()) == 0);
    out.close();
}

} // namespace

void copyFileToNew(const std::string& source, const std::string& destination)
{
    // A failure names the file it concerns: the one read or the one written.
    Fd in = atPath(source, [&] { return Fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC)); });
    struct stat info {};
    atPath(source, [&] { check(::fstat(in.get(), &info) == 0); });
    atPath(destination, [&] {
        Fd out(::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        try {
            writeCopy(in.get(), info, out);
        } catch (...) {
            ::unlink(destination.c_str());
            throw;
        }
    });
}

void renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    check(errno == EINVAL);
    // File systems that cannot refuse the replacement themselves.
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0)
        throw RuntimeError::fromErrno(EEXIST);
    check(::rename(from.c_str(), to.c_str()) == 0);
}

void renameReplacing(const std::string& from, const std::string& to)
{
    check(::rename(from.c_str(), to.c_str()) == 0);
    // The rename is on disk once its folder is; a folder that cannot be flushed (some file
    // systems refuse) leaves it to the system, as before.
    const size_t separator = to.rfind(kPathSeparator);
    const std::string folder = separator == std::string::npos ? "." : to.substr(0, separator + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void setCopyProgressHook(CopyProgressHook hook)
{
    g_progressHook = std::move(hook);
}

} // namespace quorvex
