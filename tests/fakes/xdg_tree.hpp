#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

namespace quorvex::test {

// A small file at path, its folders created.
inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

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
    void associateExtension(const std::string& extension, const std::string& program)
    {
        m_programs[extension.substr(1)] = program;
    }

    // Documents of no known type open with the program associated with the extension, as
    // some desktops set up a generic viewer.
    void defaultUnknownTypesTo(const std::string& extension)
    {
        m_unknownTypes = extension.substr(1);
    }

    // Writes the tree and points XDG_DATA_HOME, XDG_DATA_DIRS, XDG_CONFIG_HOME and
    // XDG_CONFIG_DIRS at it. Each extension gets a MIME type and a desktop entry of its own;
    // the plain glob list is what the MIME database compiles to, read without a mime.cache.
    void applyEnvironment() const
    {
        const auto entry = [](const std::string& extension) {
            return "quorvex-test-" + extension + ".desktop";
        };
        std::string globs, defaults = "[Default Applications]\n";
        for (const auto& [extension, program] : m_programs) {
            const std::string type = "application/x-quorvex-test-" + extension;
            writeText(m_root / "data/applications" / entry(extension),
                      "[Desktop Entry]\nType=Application\nName=" + extension + "\nExec=\"" +
                          program + "\" %f\nMimeType=" + type + ";\n");
            globs += "50:" + type + ":*." + extension + "\n";
            defaults += type + "=" + entry(extension) + "\n";
        }
        if (!m_unknownTypes.empty())
            defaults += "application/octet-stream=" + entry(m_unknownTypes) + "\n";
        writeText(m_root / "data/mime/globs2", globs);
        writeText(m_root / "config/mimeapps.list", defaults);
        ::setenv("XDG_DATA_HOME", (m_root / "data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (m_root / "data-dirs").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (m_root / "config-dirs").c_str(), 1);
    }

private:
    std::filesystem::path m_root;
    // Extension without its dot -> program.
    std::map<std::string, std::string> m_programs;
    std::string m_unknownTypes;
};

// A private XdgTree for a whole test program, laid out by arrange before its first test (the
// association service reads the folders once per process) and removed after its last.
class XdgEnvironment : public ::testing::Environment {
public:
    explicit XdgEnvironment(std::function<void(XdgTree&)> arrange) : m_arrange(std::move(arrange))
    {
    }
    // The program's own folder, which holds the tree and the programs it names.
    static std::filesystem::path root()
    {
        return std::filesystem::temp_directory_path() / ("quorvex-xdg-" + std::to_string(getpid()));
    }
    void SetUp() override
    {
        XdgTree tree(root() / "xdg");
        m_arrange(tree);
        tree.applyEnvironment();
    }
    void TearDown() override { std::filesystem::remove_all(root()); }

private:
    std::function<void(XdgTree&)> m_arrange;
};

// A small executable shell script at path (its folders created), standing in for a program
// that only has to exist.
inline void writeStubProgram(const std::filesystem::path& path)
{
    writeText(path, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(path, std::filesystem::perms(0755));
}

} // namespace quorvex::test
