#include "support/error.hpp"

#include <cerrno>
#include <utility>

namespace quorvex {

RuntimeError::RuntimeError(int32_t number, std::string source, std::string description,
                           int32_t lastDllError)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
      m_lastDllError(lastDllError)
{
}

std::string describeError(int32_t number)
{
    switch (number) {
    case err::InvalidCall:
        return "Invalid procedure call or argument";
    case err::Overflow:
        return "Overflow";
    case err::OutOfMemory:
        return "Out of memory";
    case err::SubscriptOutOfRange:
        return "Subscript out of range";
    case err::TypeMismatch:
        return "Type mismatch";
    case err::BadFileName:
        return "Bad file name or number";
    case err::FileNotFound:
        return "File not found";
    case err::FileExists:
        return "File already exists";
    case err::DiskFull:
        return "Disk full";
    case err::PermissionDenied:
        return "Permission denied";
    case err::PathFileAccess:
        return "Path/File access error";
    case err::PathNotFound:
        return "Path not found";
    default:
        return "Application-defined or object-defined error";
    }
}

RuntimeError RuntimeError::fromNumber(int32_t number)
{
    return RuntimeError(number, std::string(kRuntimeSource), describeError(number));
}

namespace {

// The errno of an exceeded disk quota. Systems without quotas have no such value; there it is
// the full disk's own, which means the same to the user.
#ifdef EDQUOT
constexpr int kQuotaExceeded = EDQUOT;
#else
constexpr int kQuotaExceeded = ENOSPC;
#endif

int32_t classicNumberForErrno(int errnoValue)
{
    if (errnoValue == kQuotaExceeded)
        return err::DiskFull;
    switch (errnoValue) {
    case ENOENT:
        return err::FileNotFound;
    case ENOTDIR:
        return err::PathNotFound;
    case EEXIST:
        return err::FileExists;
    case ENOSPC:
        return err::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return err::PermissionDenied;
    case ENAMETOOLONG:
    case EINVAL:
        return err::BadFileName;
    case ENOMEM:
        return err::OutOfMemory;
    default:
        return err::PathFileAccess;
    }
}

} // namespace

RuntimeError RuntimeError::fromErrno(int errnoValue)
{
    const int32_t number = classicNumberForErrno(errnoValue);
    return RuntimeError(number, std::string(kRuntimeSource), describeError(number), errnoValue);
}

void throwLastOsError()
{
    throw RuntimeError::fromErrno(errno);
}

} // namespace quorvex
