// FindExecutable on Windows: FindExecutableA answers from the registry's file associations.
// The tests register their own in the Wine prefix the test run makes.
#include "fakes/test_environment.hpp"
#include "platform/file_system.hpp"
#include "support/files.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// Sets a key's default value, creating the key.
void setDefault(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS)
        << key;
    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
}

// Documents of a made-up type open with a program of the test folder.
class FindExecutableWin32Test : public AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        fs::create_directory(dir() / "Program Files");
        m_program = path("Program Files") + "\\viewer.exe";
        fs::copy_file(QUORVEX_FAKE_ACCESS, m_program);
        setDefault(".qvxdb", "QuorvexTest.Database");
        setDefault("QuorvexTest.Database\\shell\\open\\command", "\"" + m_program + "\" \"%1\"");
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "QuorvexTest.Database");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".qvxdb");
        AppDirTest::TearDown();
    }

    std::string m_program;
};

TEST_F(FindExecutableWin32Test, GivesTheAssociatedProgramWithoutQuotesOrNothing)
{
    writeFile(dir() / "Orders.qvxdb", "");
    writeFile(dir() / "Orders.unknownext", "");
    const std::string found = FindExecutable(path("Orders.qvxdb"));
    ASSERT_FALSE(found.empty());
    // The system may spell the folder its own way (short names, case); the file is the same.
    EXPECT_NE(found.front(), '"');
    EXPECT_NE(found.back(), ' ');
    EXPECT_TRUE(sameEntry(found, m_program)) << found;
    EXPECT_EQ(FindExecutable(path("Orders.unknownext")), "");
    EXPECT_EQ(FindExecutable(path("Missing.qvxdb")), "");
}

} // namespace
} // namespace quorvex::test
