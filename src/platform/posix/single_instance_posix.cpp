#include "platform/single_instance.hpp"

#include "support/error.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorvex {

SingleInstance::SingleInstance(const std::string& directory, const std::string& fileName)
{
    const std::string path = directory + "/" + fileName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        throwLastOsError();
    // flock belongs to the open file description: a second open in this very process is
    // refused as well, which fcntl locks would not do.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_fd = fd;
        return;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK)
        throw RuntimeError::fromErrno(error);
}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace quorvex
