#include "execution/file_copy.hpp"

#include "support/error.hpp"
#include "support/files.hpp"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {

namespace {

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
    }
}

// Lets the kernel copy (and share blocks where the file system can); falls back to reading
// and writing where it cannot copy between these two files.
void copyContent(int in, int out)
{
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

void copyFileReplacing(const std::string& source, const std::string& destination)
{
    Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    check(::fstat(in.get(), &info) == 0);

    // A hidden name in the destination's own directory, so the final rename stays on one
    // file system and no listing of copies mistakes it for one.
    std::string temporary =
        FilePathStripFileName(destination) + "." + FilePathStripPath(destination) + ".XXXXXX";
    Fd out(::mkostemp(temporary.data(), O_CLOEXEC));
    try {
        writeCopy(in.get(), info, out);
        check(::rename(temporary.c_str(), destination.c_str()) == 0);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
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

} // namespace quorvex
