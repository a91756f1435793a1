#include "platform/file_association.hpp"

#include "platform/process.hpp"

#include <gio/gio.h>
#include <sys/stat.h>

#include <memory>

namespace quorvex {

namespace {

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
struct StrvDeleter {
    void operator()(gchar** words) const { g_strfreev(words); }
};
struct ObjectDeleter {
    void operator()(GAppInfo* info) const { g_object_unref(info); }
};

using GText = std::unique_ptr<gchar, GFreeDeleter>;

// The first word of the command line, found along PATH when it is a bare name. The command
// line is split rather than asking for the executable, which mangles a quoted program path
// that holds blanks.
std::optional<std::string> programOf(const char* commandLine)
{
    gchar** rawWords = nullptr;
    if (!g_shell_parse_argv(commandLine, nullptr, &rawWords, nullptr))
        return std::nullopt;
    const std::unique_ptr<gchar*, StrvDeleter> words(rawWords);
    const GText program(g_find_program_in_path(words.get()[0]));
    if (!program)
        return std::nullopt;
    return std::string(program.get());
}

} // namespace

std::optional<std::string> associatedProgram(const std::string& documentPath)
{
    struct stat info = {};
    if (::stat(documentPath.c_str(), &info) != 0)
        return std::nullopt;

    const GText contentType(g_content_type_guess(documentPath.c_str(), nullptr, 0, nullptr));
    // A name that tells nothing of its type has no association, as on a desktop that
    // associates by extension; a generic viewer set up for unknown data is not its program.
    if (!contentType || g_content_type_is_unknown(contentType.get()))
        return std::nullopt;
    const std::unique_ptr<GAppInfo, ObjectDeleter> program(
        g_app_info_get_default_for_type(contentType.get(), FALSE));
    if (!program)
        return std::nullopt;
    const char* commandLine = g_app_info_get_commandline(program.get());
    if (!commandLine)
        return std::nullopt;
    return programOf(commandLine);
}

std::optional<std::string> webBrowserProgram()
{
    // xdg-open hands an address to the browser the user chose on the desktop.
    return locateProgramFile("xdg-open");
}

} // namespace quorvex
