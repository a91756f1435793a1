#pragma once

#include "support/preferences.hpp"

#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"

#include <string>
#include <tuple>
#include <vector>

namespace quorvex::test {

// A field with its escapes \t, \r, \n, \\ and \xHH (two hexadecimal digits) written out as the
// characters they stand for, so that a case may hold blanks at its ends and control bytes.
inline std::string unescaped(const std::string& field)
{
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
        } else if (field[++i] == 'x') {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            text += field[i] == 't' ? '\t' : field[i] == 'r' ? '\r' : field[i] == 'n' ? '\n' : '\\';
        }
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
