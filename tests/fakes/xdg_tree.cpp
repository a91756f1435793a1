#include "fakes/xdg_tree.hpp"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace quorvex::test {

namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string withoutDot(const std::string& extension)
{
    return extension.starts_with('.') ? extension.substr(1) : extension;
}

} // namespace

void XdgTree::associateExtension(const std::string& extension, const std::string& program)
{
    m_programs[withoutDot(extension)] = program;
}

void XdgTree::defaultUnknownTypesTo(const std::string& extension)
{
    m_unknownTypesExtension = withoutDot(extension);
}

// Each extension gets a MIME type and a desktop entry of its own. The plain glob list is what
// the MIME database compiles to; without a mime.cache the association service reads it.
void XdgTree::applyEnvironment() const
{
    const auto entry = [](const std::string& extension) {
        return "quorvex-test-" + extension + ".desktop";
    };
    std::string globs, defaults = "[Default Applications]\n";
    for (const auto& [extension, program] : m_programs) {
        const std::string type = "application/x-quorvex-test-" + extension;
        writeText(m_root / "data/applications" / entry(extension),
                  "[Desktop Entry]\nType=Application\nName=" + extension + "\nExec=\"" + program +
                      "\" %f\nMimeType=" + type + ";\n");
        globs += "50:" + type + ":*." + extension + "\n";
        defaults += type + "=" + entry(extension) + "\n";
    }
    if (!m_unknownTypesExtension.empty())
        defaults += "application/octet-stream=" + entry(m_unknownTypesExtension) + "\n";
    writeText(m_root / "data/mime/globs2", globs);
    writeText(m_root / "config/mimeapps.list", defaults);
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
    fs::permissions(path, fs::perms(0755));
}

} // namespace quorvex::test
