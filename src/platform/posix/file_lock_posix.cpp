#include "platform/file_lock.hpp"

#include "support/error.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {

int ExclusiveFileLock::openLocked(const std::string& path)
{
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            throwLastOsError();
        // flock belongs to the open file description, so a second lock in this very process
        // is refused too.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return -1;
            throw RuntimeError::fromErrno(error);
        }
        // The holder before us removes the file before it lets go, so the file we locked may
        // be gone from its name already: then the lock guards nothing and we take the new one.
        struct stat locked {};
        struct stat named {};
        if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
}

void ExclusiveFileLock::closeLocked(const std::string& path, int fd)
{
    ::unlink(path.c_str());
    ::close(fd);
}

} // namespace quorvex
