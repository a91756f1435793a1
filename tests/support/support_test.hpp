#pragma once

#include "support/preferences.hpp"

#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"

#include <string>
#include <tuple>
#include <vector>

namespace quorvex::test {

// A field with its escapes \t, \r, \n and \xHH (two hexadecimal digits) written out as the
// characters they stand for, so that a case may hold blanks at its ends and control bytes.
inline std::string unescaped(std::string text)
{
    for (auto at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
        const char kind = text[at + 1];
        const std::string hex = kind == 'x'   ? text.substr(at + 2, 2)
                                : kind == 't' ? "09"
                                : kind == 'r' ? "0D"
                                              : "0A";
        text.replace(at, kind == 'x' ? 4 : 2, 1, static_cast<char>(std::stoi(hex, nullptr, 16)));
    }
    return text;
}

// The cases of a table of this folder's data directory, their escapes written out.
inline std::vector<CaseFields> casesOf(const std::string& table)
{
    std::vector<CaseFields> cases = readCaseTable(QUORVEX_TEST_DATA_DIR "/" + table);
    for (CaseFields& fields : cases)
        for (std::string& field : fields)
            field = unescaped(field);
    return cases;
}

class IniFileTest : public AppDirTest {
protected:
    std::string file() const { return path("settings.ini"); }
};

// Loads the preferences and gives all three.
inline auto loaded()
{
    LoadPreferences();
    return std::tuple(preferences().StopOnError, preferences().NumberCopies, preferences().IEPath);
}

} // namespace quorvex::test
