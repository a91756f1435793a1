#pragma once

#include "fakes/fixed_clock.hpp"
#include "fakes/scripted_desktop.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvex::test {

// The number of the RuntimeError that the action throws, 0 when it throws none.
int32_t errorNumberOf(const std::function<void()>& action);

// Thrown by the fatal-exit seam in tests, where the program "ends" after a fatal report.
// Deliberately not a std::exception, so no trap of the program catches it.
struct FatalExitCalled {};

// A fresh application directory under the system's temporary folder, with a fixed clock,
// a scripted desktop and a fatal exit that throws FatalExitCalled. Everything is put back
// (the preferences too) and the folder removed afterwards.
class AppDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path dir() const { return m_dir; }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    // The whole content of a file, as bytes.
    static std::string readFile(const std::filesystem::path& path);
    static void writeFile(const std::filesystem::path& path, const std::string& content);
    // Each part must stand in the error log; a missing one is reported with the whole log.
    static void expectInErrorLog(std::initializer_list<std::string_view> parts);
    // The folder of the built programs (zip stand-in, TestForAccess.mdb, the agent).
    static std::filesystem::path builtAppDir();

    FixedClock m_clock;
    ScriptedDesktop m_desktop;

private:
    std::filesystem::path m_dir;
};

} // namespace quorvex::test
