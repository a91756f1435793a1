#include "fakes/test_environment.hpp"
#include "fakes/xdg_tree.hpp"
#include "support/files.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

fs::path accessProgram()
{
    return XdgEnvironment::root() / "Program Files/Microsoft Office/MSACCESS";
}

const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new XdgEnvironment([](XdgTree& tree) {
        writeStubProgram(accessProgram());
        tree.associateExtension(".mdb", accessProgram().string());
        tree.associateExtension(".htm", "sh");
        // A program that was associated and is gone since.
        const fs::path vanished = XdgEnvironment::root() / "Old Programs/viewer";
        writeStubProgram(vanished);
        tree.associateExtension(".old", vanished.string());
        fs::remove(vanished);
        tree.defaultUnknownTypesTo(".mdb");
    }));

class FindExecutableTest : public AppDirTest {
protected:
    std::string document(const std::string& name)
    {
        writeFile(dir() / name, "");
        return path(name);
    }
};

TEST_F(FindExecutableTest, GivesTheFullUnquotedPathOfTheAssociatedProgramOrNothing)
{
    EXPECT_EQ(FindExecutable(document("TestForAccess.mdb")), accessProgram().string());
    EXPECT_EQ(FindExecutable(document("ORDERS.MDB")), accessProgram().string());
    const std::string program = FindExecutable(document("Quorvex_Help.htm"));
    EXPECT_TRUE(fs::path(program).is_absolute()) << program;
    EXPECT_EQ(fs::path(program).filename(), "sh");
    EXPECT_TRUE(fs::exists(program));
    // Nothing, and nothing reported, without an existing associated program.
    EXPECT_EQ(FindExecutable(path("Missing.mdb")), "");
    EXPECT_EQ(FindExecutable(document("notes.qqq")), "") << "unknown types have no program";
    EXPECT_EQ(FindExecutable(document("README")), "");
    EXPECT_EQ(FindExecutable(document("picture.old")), "") << "the program is gone";
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_FALSE(fs::exists(path("quorvex.err")));
}

} // namespace
} // namespace quorvex::test
