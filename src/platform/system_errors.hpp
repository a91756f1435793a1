#pragma once

#include <cerrno>

namespace quorvex {

// The errno of an exceeded disk quota. Systems without quotas have no such value; there it is
// the full disk's own, which means the same to the user.
#ifdef EDQUOT
inline constexpr int kQuotaExceeded = EDQUOT;
#else
inline constexpr int kQuotaExceeded = ENOSPC;
#endif

} // namespace quorvex
