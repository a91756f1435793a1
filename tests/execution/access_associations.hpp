#pragma once

#include "fakes/xdg_tree.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvex::test {

// A private desktop whose association service names, for database files, the fake Access
// (copied under a folder whose name holds blanks) or, when withAccess is false, nothing.
// The service reads its folders once per process, so this is in place before the first test.
class AccessAssociations : public ::testing::Environment {
public:
    explicit AccessAssociations(bool withAccess) : m_withAccess(withAccess) {}

    static std::filesystem::path accessProgram()
    {
        return s_root / "Program Files/Microsoft Office/MSACCESS";
    }

    void SetUp() override
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "quorvex-xdg-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        s_root = pattern;
        XdgTree tree(s_root / "xdg");
        if (m_withAccess) {
            fs::create_directories(accessProgram().parent_path());
            fs::copy_file(QUORVEX_FAKE_ACCESS, accessProgram());
            tree.associateExtension(".mdb", accessProgram().string());
        }
        tree.applyEnvironment();
    }
    void TearDown() override { std::filesystem::remove_all(s_root); }

private:
    bool m_withAccess;
    static inline std::filesystem::path s_root;
};

} // namespace quorvex::test
