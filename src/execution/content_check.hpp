#pragma once

#include <string>

namespace quorvex {

// Whether two files hold the same bytes, read side by side; a file that cannot be opened or
// read is the classic run-time error for it.
bool sameContent(const std::string& a, const std::string& b);

} // namespace quorvex
