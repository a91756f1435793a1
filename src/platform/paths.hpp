#pragma once

namespace quorvex {

// The system's path separator. The program's own texts write it as "\", which is what Windows
// uses; elsewhere paths are the system's own.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

} // namespace quorvex
