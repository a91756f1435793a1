#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvex::test {

using CaseFields = std::vector<std::string>;

// The cases of a table kept as a text file (every test program finds its folder's tables under
// QUORVEX_TEST_DATA_DIR, tests/data/<folder>): one case a line, its fields apart by " | ", each
// field without its outer blanks; blank lines and lines that begin with '#' are the table's own
// notes. A missing or empty table fails the test that reads it.
std::vector<CaseFields> readCaseTable(const std::filesystem::path& file);

} // namespace quorvex::test
