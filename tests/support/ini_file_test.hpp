#pragma once

#include "support/preferences.hpp"

#include "fakes/test_environment.hpp"

#include <string>
#include <tuple>

namespace quorvex::test {

class IniFileTest : public test::AppDirTest {
protected:
    static std::string repeated(const std::string& text, int times)
    {
        std::string result;
        for (int i = 0; i < times; ++i)
            result += text;
        return result;
    }
    std::string file() const { return path("settings.ini"); }
};

// Loads the preferences and gives all three.
inline auto loaded()
{
    LoadPreferences();
    return std::tuple(preferences().StopOnError, preferences().NumberCopies, preferences().IEPath);
}

} // namespace quorvex::test
