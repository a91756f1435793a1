#include "ui/wizard/browse.hpp"

#include "platform/file_attributes.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "ui/wizard/common_dialog.hpp"

namespace quorvex {

namespace {

constexpr const char* kModule = "frmWIZ_JobDefinition.frm";

bool isFolder(const std::string& path)
{
    const std::optional<int> attributes = lookUpEntry(path);
    return attributes && (*attributes & attr::Directory) != 0;
}

// A name the file system cannot take (a drive without its medium, on the classic system)
// asks for the diskette and ends the picker; any other failure is fatal.
template <class Body>
void trapDiskError(std::string_view module, std::string_view routine, Body&& body)
{
    try {
        body();
    } catch (const RuntimeError& e) {
        if (e.number() != err::BadFileName)
            reportFatal(e, module, routine);
        MsgBox("Disk Error, please insert the diskette and try again.", mb::OkOnly, "Disk Error");
    } catch (const std::exception& e) {
        reportFatal(toRuntimeError(e), module, routine);
    }
}

} // namespace

std::optional<int> lookUpEntry(const std::string& path)
{
    try {
        return fileAttributes(path);
    } catch (const RuntimeError& e) {
        if (e.number() == err::BadFileName)
            throw;
        return std::nullopt;
    }
}

bool isPlainFile(const std::string& path)
{
    try {
        const std::optional<int> attributes = lookUpEntry(path);
        return attributes && (*attributes & attr::Directory) == 0 &&
               shownInPlainListing(*attributes);
    } catch (const RuntimeError&) {
        return false;
    }
}

void BrowseFile(std::string& sFileName, const std::string& extension,
                const std::string& description, std::string_view module)
{
    trapDiskError(module, "BrowseFile()", [&] {
        CCommonDialog dialog;
        dialog.Filter = CCommonDialog::AddFilterItem("", description + " (*" + extension + ")",
                                                     "*" + extension);
        dialog.DefaultExt = "*" + extension;
        dialog.DialogTitle = "Browse for " + description;
        dialog.FileName = sFileName;
        if (sFileName.find(kPathSeparator) != std::string::npos)
            dialog.InitDir = FilePathStripFileName(sFileName);
        // A refused name is proposed again, since the dialog keeps it as its FileName.
        for (;;) {
            sFileName = dialog.CommonFileOpen();
            if (sFileName.empty() || isNonFolderEntry(sFileName))
                return;
            MsgBox("The specified database file does not exist; please try again.");
        }
    });
}

void BrowseFolder(std::string& sPath)
{
    trapDiskError(kModule, "BrowseFolder()", [&] {
        const auto withSeparator = [](std::string& path) {
            if (path.empty() || path.back() != kPathSeparator)
                path += kPathSeparator;
        };
        CBrowseDlg dialog;
        dialog.Prompt = "Please select a directory into which backup will be placed.";
        const std::string original = sPath;
        for (;;) {
            // A cancel, also after a refused folder, gives back what the caller had, so the
            // user can always leave.
            if (!dialog.ShowBrowseDlg(sPath)) {
                sPath = original;
                withSeparator(sPath);
                return;
            }
            withSeparator(sPath);
            // The root may be chosen as it is.
            if (sPath.size() == 1 || isFolder(sPath))
                return;
            MsgBox("The specified directory does not exist; please try again.");
        }
    });
}

} // namespace quorvex
