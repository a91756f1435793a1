#include "access_job_test.hpp"

#include "fakes/xdg_tree.hpp"

#include <unistd.h>

namespace quorvex::test {

namespace {

std::filesystem::path root()
{
    return std::filesystem::temp_directory_path() / ("quorvex-xdg-" + std::to_string(getpid()));
}

} // namespace

std::filesystem::path AccessAssociations::accessProgram()
{
    return root() / "Program Files/Microsoft Office/MSACCESS";
}

void AccessAssociations::SetUp()
{
    XdgTree tree(root() / "xdg");
    if (m_withAccess) {
        std::filesystem::create_directories(accessProgram().parent_path());
        std::filesystem::copy_file(QUORVEX_FAKE_ACCESS, accessProgram());
        tree.associateExtension(".mdb", accessProgram().string());
    }
    tree.applyEnvironment();
}

void AccessAssociations::TearDown()
{
    std::filesystem::remove_all(root());
}

} // namespace quorvex::test
