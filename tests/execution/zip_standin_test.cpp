#include "execution/shell_and_close.hpp"

#include "fakes/test_environment.hpp"

#include <cstdio>
#include <filesystem>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// The "zip" built beside the programs, called with the archiver's Windows command line.
class ZipStandInTest : public test::AppDirTest {
protected:
    static std::string zipCommand(const std::string& archive, const std::string& file)
    {
        return (builtAppDir() / "zip").string() + "  -S -v -n .zip \"" + archive + "\" \"" + file +
               "\" ";
    }

    static std::string listing(const std::string& archive)
    {
        std::string output;
        FILE* pipe = popen(("unzip -l '" + archive + "'").c_str(), "r");
        char buffer[256];
        while (pipe && fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        if (pipe)
            pclose(pipe);
        return output;
    }
};

TEST_F(ZipStandInTest, ArchivesTheFileGivenTheWindowsCommandLine)
{
    const std::string file = path("Sales 2026.mdb");
    writeFile(file, std::string(4096, 'x'));
    const std::string archive = path("Sales 2026.zip");
    EXPECT_EQ(ShellAndClose(zipCommand(archive, file), 0), 0);
    EXPECT_NE(listing(archive).find("Sales 2026.mdb"), std::string::npos) << listing(archive);
}

TEST_F(ZipStandInTest, SecondCallAddsToTheArchive)
{
    writeFile(path("a.mdb"), "database");
    writeFile(path("a.mdw"), "workgroup");
    const std::string archive = path("a.zip");
    EXPECT_EQ(ShellAndClose(zipCommand(archive, path("a.mdb")), 0), 0);
    EXPECT_EQ(ShellAndClose(zipCommand(archive, path("a.mdw")), 0), 0);
    const std::string members = listing(archive);
    EXPECT_NE(members.find("a.mdb"), std::string::npos) << members;
    EXPECT_NE(members.find("a.mdw"), std::string::npos) << members;
}

TEST_F(ZipStandInTest, PassesZipsExitCodeThrough)
{
    const std::string archive = path("none.zip");
    EXPECT_EQ(ShellAndClose(zipCommand(archive, path("missing.mdb")), 0), 12);
    EXPECT_FALSE(fs::exists(archive));
}

} // namespace
} // namespace quorvex
