#include "access_job_test.hpp"

#include "fakes/xdg_tree.hpp"

namespace quorvex::test {

std::filesystem::path AccessAssociations::accessProgram()
{
    return XdgEnvironment::root() / "Program Files/Microsoft Office/MSACCESS";
}

void AccessAssociations::SetUp()
{
    XdgTree tree(XdgEnvironment::root() / "xdg");
    std::filesystem::create_directories(accessProgram().parent_path());
    std::filesystem::copy_file(QUORVEX_FAKE_ACCESS, accessProgram());
    tree.associateExtension(".mdb", accessProgram().string());
    tree.applyEnvironment();
}

void AccessAssociations::TearDown()
{
    std::filesystem::remove_all(XdgEnvironment::root());
}

} // namespace quorvex::test
