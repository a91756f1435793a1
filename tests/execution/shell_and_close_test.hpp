#pragma once

#include "execution/shell_and_close.hpp"
#include "fakes/scoped_env.hpp"
#include "fakes/test_environment.hpp"
#include "support/error.hpp"

#include <string>

namespace quorvex::test {

// The fake Access takes its orders from the environment it inherits.
class ShellAndCloseTest : public AppDirTest {
protected:
    // The fake started on a database of the test directory, as Access would be.
    std::string fakeAccessOn(const std::string& database) const
    {
        return std::string("\"") + QUORVEX_FAKE_ACCESS + "\" \"" + path(database) + "\" /X Macro";
    }
};

} // namespace quorvex::test
