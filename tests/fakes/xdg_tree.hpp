#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace quorvex::test {

// A private set of XDG folders (data, config, MIME database, applications) that decides which
// program the desktop's association service names for a document, so tests never depend on
// what the machine has installed.
//
// GIO reads these folders once per process: make every association and apply the environment
// before the process's first lookup (in a test Environment or at the top of main()).
class XdgTree {
public:
    // The tree lies under root, which is made when the environment is applied.
    explicit XdgTree(std::filesystem::path root) : m_root(std::move(root)) {}

    // Documents whose names end in the extension (".mdb") open with the program, a full path
    // that may hold blanks or a bare name found along PATH. The program must exist and be
    // executable, or the association service ignores it.
    void associateExtension(const std::string& extension, const std::string& program);

    // Documents of no known type open with the program associated with the extension, as
    // some desktops set up a generic viewer.
    void defaultUnknownTypesTo(const std::string& extension);

    // Writes the tree and points XDG_DATA_HOME, XDG_DATA_DIRS, XDG_CONFIG_HOME and
    // XDG_CONFIG_DIRS at it.
    void applyEnvironment() const;

private:
    std::filesystem::path m_root;
    // Extension without its dot -> program.
    std::map<std::string, std::string> m_programs;
    std::string m_unknownTypesExtension;
};

// A private XdgTree for a whole test program, laid out by arrange before its first test (the
// association service reads the folders once per process) and removed after its last.
class XdgEnvironment : public ::testing::Environment {
public:
    explicit XdgEnvironment(std::function<void(XdgTree&)> arrange) : m_arrange(std::move(arrange))
    {
    }
    // The program's own folder, which holds the tree and the programs it names.
    static std::filesystem::path root();
    void SetUp() override;
    void TearDown() override;

private:
    std::function<void(XdgTree&)> m_arrange;
};

// A small executable shell script at path (its folders created), standing in for a program
// that only has to exist.
void writeStubProgram(const std::filesystem::path& path);

} // namespace quorvex::test
