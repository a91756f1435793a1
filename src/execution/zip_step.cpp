#include "execution/zip_step.hpp"

#include "execution/command_line.hpp"
#include "execution/shell_and_close.hpp"
#include "platform/process.hpp"
#include "support/app_info.hpp"
#include "support/transaction_log.hpp"

namespace quorvex {

namespace {

constexpr const char* kZipOptions = " -S -v -n .zip ";

// A double quote inside a path would end its quoting early and let the rest of the name reach
// zip as options of its own, so such a path is never put on the command line.
bool refuseUnquotable(const std::string& path)
{
    if (path.find('"') == std::string::npos)
        return false;
    LogEvent("Quorvex cannot hand a path holding a double quote to zip: '" + path + "'.");
    return true;
}

} // namespace

std::string zipCommandLine(const std::string& archivePath, const std::string& fileItem)
{
    // Quoted, so that in a program folder whose path holds a blank no other file that the
    // path's first words name can stand in for zip.
    return inQuotes(programFile("zip")) + " " + kZipOptions + inQuotes(archivePath) + " " +
           inQuotes(fileItem) + " ";
}

std::string zipResultLine(int32_t code, const std::string& fileItem)
{
    const std::string item = " for file item '" + fileItem + "'.";
    const std::string number = std::to_string(code);
    switch (code) {
    case 2:
        return "Unexpected end of zip file" + item;
    case 3:
        return "A generic error in the zipfile format was detected" + item + ".  " +
               "Processing may have completed successfully anyway; some broken " +
               "zipfiles created by other archivers have simple work-arounds.";
    case 4:
        return "zip was unable to allocate memory for one or more "
               "buffers during program initialization" +
               item;
    case 5:
        return "A severe error in the zipfile format was detected.  "
               "Processing probably failed immediately" +
               item;
    case 6:
    case 7:
    case 16:
        return "Miscellaneous Zip Error (" + number + ")" + item;
    case 8:
        return "Out of memory or Zip -T failed" + item;
    case 9:
        return "The user aborted zip prematurely with control-C (or similar)" + item;
    case 10:
        return "Zip encountered an error while using a temp file" + item;
    case 11:
        return "Read or seek error" + item;
    case 12:
        return "Zip has nothing to do" + item;
    case 13:
        return "Missing or empty zip file" + item;
    case 14:
        return "Error writing to a file" + item;
    case 15:
        return "Zip was unable to create a file to write to" + item;
    case 18:
        return "One or more source files were unable to be archived from the filespec" + item +
               "  This error is typically caused by a file in use.";
    default:
        return "Unhandled Error#" + number + " has occurred" + item;
    }
}

bool ZipFile(const std::string& archivePath, const std::string& fileItem)
{
    if (refuseUnquotable(archivePath) || refuseUnquotable(fileItem))
        return false;
    const int32_t code = ShellAndClose(zipCommandLine(archivePath, fileItem), kHiddenWindow);
    if (code == 0)
        return true;
    LogEvent(zipResultLine(code, fileItem));
    return false;
}

bool TestZipArchive(const std::string& archivePath)
{
    return ShellAndClose(inQuotes(programFile("zip")) + " -T " + inQuotes(archivePath),
                         kHiddenWindow) == 0;
}

} // namespace quorvex
