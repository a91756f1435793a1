// What the file system does alike on every system, built on the calls of each.
#include "platform/file_system.hpp"

#include "support/error.hpp"

#include <cerrno>

namespace quorvex {

void removeLeftoverFile(const std::string& path)
{
    try {
        removeFile(path);
    } catch (const RuntimeError&) {
        // The failure that left it is the one to report.
    }
}

bool replaceFileContent(const std::string& path, std::string_view content)
{
    std::string temporary;
    try {
        OpenFile file = OpenFile::createBeside(path, temporary);
        file.writeAll(content);
        file.flushAndClose();
        renameReplacing(temporary, path);
        return true;
    } catch (const RuntimeError& failure) {
        // The file is closed by now, which Windows needs before it deletes.
        if (!temporary.empty())
            removeLeftoverFile(temporary);
        errno = failure.lastDllError(); // the caller may tell the user why
        return false;
    }
}

} // namespace quorvex
