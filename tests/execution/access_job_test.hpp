#pragma once

#include "fakes/xdg_tree.hpp"

#include <filesystem>

namespace quorvex::test {

// Where the fake Access is copied: under a folder whose name holds blanks.
inline std::filesystem::path accessProgram()
{
    return XdgEnvironment::root() / "Program Files/Microsoft Office/MSACCESS";
}

// A private desktop whose association service names, for database files, the fake Access or,
// when withAccess is false, nothing.
class AccessAssociations : public XdgEnvironment {
public:
    explicit AccessAssociations(bool withAccess)
        : XdgEnvironment([withAccess](XdgTree& tree) {
              if (!withAccess)
                  return;
              std::filesystem::create_directories(accessProgram().parent_path());
              std::filesystem::copy_file(QUORVEX_FAKE_ACCESS, accessProgram());
              tree.associateExtension(".mdb", accessProgram().string());
          })
    {
    }
};

} // namespace quorvex::test
