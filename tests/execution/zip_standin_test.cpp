#include "execution/shell_and_close.hpp"

#include "execution_test.hpp"

namespace quorvex::test {
namespace {

using ZipStandInTest = ExecutionTest;

// The "zip" built beside the programs, called with the archiver's Windows command line: each
// call adds its file to the archive; a missing file gives zip's own code 12 and no archive.
TEST_F(ZipStandInTest, AddsEachFileToTheArchiveAndPassesZipsExitCodeThrough)
{
    const auto zip = [&](const std::string& archive, const std::string& file) {
        return ShellAndClose((builtAppDir() / "zip").string() + "  -S -v -n .zip \"" +
                                 path(archive) + "\" \"" + path(file) + "\" ",
                             0);
    };
    writeFile(path("Sales 2026.mdb"), std::string(4096, 'x'));
    writeFile(path("Sales 2026.mdw"), "workgroup");
    EXPECT_EQ(zip("Sales 2026.zip", "Sales 2026.mdb"), 0);
    EXPECT_EQ(zip("Sales 2026.zip", "Sales 2026.mdw"), 0);
    const std::string members = zipMembers(path("Sales 2026.zip"));
    EXPECT_NE(members.find("Sales 2026.mdb"), std::string::npos) << members;
    EXPECT_NE(members.find("Sales 2026.mdw"), std::string::npos) << members;

    EXPECT_EQ(zip("none.zip", "missing.mdb"), 12);
    EXPECT_FALSE(std::filesystem::exists(path("none.zip")));
}

} // namespace
} // namespace quorvex::test
