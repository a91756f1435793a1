#include "platform/file_lock.hpp"

namespace quorvex {

ExclusiveFileLock::ExclusiveFileLock(std::string path) : m_path(std::move(path)) {}

ExclusiveFileLock::~ExclusiveFileLock()
{
    release();
}

bool ExclusiveFileLock::tryLock()
{
    if (!held())
        m_fd = openLocked(m_path);
    return held();
}

void ExclusiveFileLock::release()
{
    if (!held())
        return;
    closeLocked(m_path, m_fd);
    m_fd = -1;
}

} // namespace quorvex
