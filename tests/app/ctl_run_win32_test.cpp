// "quorvexctl run" on Windows: numbered copies rotate past a read-only one, plain and zipped
// through zip.exe in the program folder, with the archive tested before it takes its place.
#include "ctl_run_test.hpp"

#include <windows.h>

namespace quorvex::test {
namespace {

TEST_F(CtlRunTest, RotatesPlainAndZippedCopiesReadOnlyOnesIncludedAndTestsTheArchive)
{
    writeFile(path("Quorvex.ini"), "[Preferences]\r\nNumberCopies=2\r\nVerifyBackups=-1\r\n");
    for (const std::string extension : {".mdb", ".zip"}) {
        SCOPED_TRACE(extension);
        std::filesystem::remove_all(target());
        std::filesystem::create_directories(target());
        addJob("Nightly", "Sales.mdb", extension == ".zip" ? "Compress=-1\r\n" : "Compress=0\r\n");
        for (const std::string copy : {"Sales", "Sales_1", "Sales_2", "Sales_3"})
            putFile(target() / (copy + extension), copy);
        ASSERT_TRUE(SetFileAttributesA((target() / ("Sales_2" + extension)).string().c_str(),
                                       FILE_ATTRIBUTE_READONLY));
        EXPECT_EQ(quorvexctl({"run", "Nightly"}), 0) << m_err;
        Files files = targetFiles();
        const std::string current = files["Sales" + extension];
        EXPECT_EQ(files, (Files{{"Sales" + extension, current},
                                {"Sales_1" + extension, "Sales"},
                                {"Sales_2" + extension, "Sales_1"},
                                {"Sales_3" + extension, "Sales_3"}}));
        if (extension == ".mdb")
            EXPECT_EQ(current, "new");
        else
            EXPECT_TRUE(current.starts_with("PK") &&
                        current.find("data/Sales.mdb") != std::string::npos);
        EXPECT_EQ(logMessages().back(),
                  "Verified     " + target().string() + "\\Sales" + extension);
    }
}

} // namespace
} // namespace quorvex::test
