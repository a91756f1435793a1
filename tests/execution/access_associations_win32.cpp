#include "access_job_test.hpp"

#include "fakes/file_types_win32.hpp"

#include <windows.h>

namespace quorvex::test {

namespace {

constexpr const char* kTypeName = "QuorvexTest.Access";

std::filesystem::path root()
{
    return std::filesystem::temp_directory_path() /
           ("quorvex-access-" + std::to_string(GetCurrentProcessId()));
}

} // namespace

std::filesystem::path AccessAssociations::accessProgram()
{
    return root() / "Program Files" / "Microsoft Office" / "MSACCESS.EXE";
}

void AccessAssociations::SetUp()
{
    std::filesystem::create_directories(accessProgram().parent_path());
    std::filesystem::copy_file(QUORVEX_FAKE_ACCESS, accessProgram());
    associateExtension(".mdb", kTypeName, accessProgram().string());
}

void AccessAssociations::TearDown()
{
    removeAssociation(".mdb", kTypeName);
    std::filesystem::remove_all(root());
}

} // namespace quorvex::test
