#include "fakes/xdg_tree.hpp"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace quorvex::test {

namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

// The program as the first word of an Exec line: quoted, with the characters that are
// special inside quotes escaped, then the key file's own escaping of backslashes.
std::string execWord(const std::string& program)
{
    std::string word = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            word += '\\';
        word += c;
    }
    word += '"';
    std::string escaped;
    for (char c : word) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string desktopId(const std::string& extension)
{
    return "quorvex-test-" + extension + ".desktop";
}

} // namespace

XdgTree::XdgTree(fs::path root) : m_root(std::move(root))
{
    for (const char* folder :
         {"data/mime", "data/applications", "data-dirs", "config", "config-dirs"})
        fs::create_directories(m_root / folder);
}

void XdgTree::associateExtension(const std::string& extension, const std::string& program)
{
    const std::string bare = extension.starts_with('.') ? extension.substr(1) : extension;
    const std::string type = "application/x-quorvex-test-" + bare;
    m_types[bare] = type;
    std::string entry = "[Desktop Entry]\nType=Application\n";
    entry += "Name=Quorvex test program for ." + bare + "\n";
    entry += "Exec=" + execWord(program) + " %f\n";
    entry += "MimeType=" + type + ";\n";
    writeText(m_root / "data/applications" / desktopId(bare), entry);
    writeMimeDatabase();
    writeDefaults();
}

void XdgTree::defaultUnknownTypesTo(const std::string& extension)
{
    m_unknownTypesExtension = extension.starts_with('.') ? extension.substr(1) : extension;
    writeDefaults();
}

void XdgTree::writeMimeDatabase() const
{
    // The plain glob list is what the MIME database compiles to; without a mime.cache the
    // association service reads it directly.
    std::string globs;
    for (const auto& [extension, type] : m_types)
        globs += "50:" + type + ":*." + extension + "\n";
    writeText(m_root / "data/mime/globs2", globs);
}

void XdgTree::writeDefaults() const
{
    std::string list = "[Default Applications]\n";
    for (const auto& [extension, type] : m_types)
        list += type + "=" + desktopId(extension) + "\n";
    if (!m_unknownTypesExtension.empty())
        list += "application/octet-stream=" + desktopId(m_unknownTypesExtension) + "\n";
    writeText(m_root / "config/mimeapps.list", list);
}

void XdgTree::applyEnvironment() const
{
    ::setenv("XDG_DATA_HOME", (m_root / "data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (m_root / "data-dirs").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (m_root / "config-dirs").c_str(), 1);
}

fs::path XdgEnvironment::root()
{
    return fs::temp_directory_path() / ("quorvex-xdg-" + std::to_string(::getpid()));
}

void XdgEnvironment::SetUp()
{
    XdgTree tree(root() / "xdg");
    m_arrange(tree);
    tree.applyEnvironment();
}

void XdgEnvironment::TearDown()
{
    fs::remove_all(root());
}

void writeStubProgram(const fs::path& path)
{
    writeText(path, "#!/bin/sh\nexit 0\n");
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
}

} // namespace quorvex::test
