#include "fakes/test_environment.hpp"
#include "fakes/xdg_tree.hpp"
#include "support/files.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// The association service reads its folders once per process, so the whole private tree is
// in place before the first test runs.
class PrivateAssociations : public ::testing::Environment {
public:
    static fs::path accessProgram() { return s_root / "Program Files/Microsoft Office/MSACCESS"; }
    static fs::path vanishedProgram() { return s_root / "Old Programs/viewer"; }

    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quorvex-xdg-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        s_root = pattern;
        XdgTree tree(s_root / "xdg");
        writeStubProgram(accessProgram());
        tree.associateExtension(".mdb", accessProgram().string());
        tree.associateExtension(".htm", "sh");
        writeStubProgram(vanishedProgram());
        tree.associateExtension(".old", vanishedProgram().string());
        fs::remove(vanishedProgram());
        tree.defaultUnknownTypesTo(".mdb");
        tree.applyEnvironment();
    }
    void TearDown() override { fs::remove_all(s_root); }

private:
    static inline fs::path s_root;
};

const auto* const g_associations = ::testing::AddGlobalTestEnvironment(new PrivateAssociations);

class FindExecutableTest : public AppDirTest {
protected:
    std::string document(const std::string& name)
    {
        writeFile(dir() / name, "");
        return path(name);
    }
};

TEST_F(FindExecutableTest, GivesTheFullUnquotedPathOfTheProgramAssociatedWithTheExtension)
{
    EXPECT_EQ(FindExecutable(document("TestForAccess.mdb")),
              PrivateAssociations::accessProgram().string());
    EXPECT_EQ(FindExecutable(document("ORDERS.MDB")),
              PrivateAssociations::accessProgram().string());
    const std::string program = FindExecutable(document("Quorvex_Help.htm"));
    EXPECT_TRUE(fs::path(program).is_absolute()) << program;
    EXPECT_EQ(fs::path(program).filename(), "sh");
    EXPECT_TRUE(fs::exists(program));
}

TEST_F(FindExecutableTest, GivesNothingAndReportsNothingWithoutAnExistingAssociatedProgram)
{
    EXPECT_EQ(FindExecutable(path("Missing.mdb")), "");
    EXPECT_EQ(FindExecutable(document("notes.qqq")), "") << "unknown types have no program";
    EXPECT_EQ(FindExecutable(document("README")), "");
    EXPECT_EQ(FindExecutable(document("picture.old")), "") << "the program is gone";
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_FALSE(fs::exists(path("quorvex.err")));
}

} // namespace
} // namespace quorvex::test
