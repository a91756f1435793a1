#pragma once

#include <string>

namespace quorvex {

// The open-file dialog with the classic properties; the dialog itself is the desktop's.
class CCommonDialog {
public:
    // Opens in the folder that is current when the object is made.
    CCommonDialog();

    // strFilter followed by one entry of a filter list: description, NUL, pattern, NUL.
    // Called with the previous result each time, it builds a list of several entries.
    static std::string AddFilterItem(const std::string& strFilter,
                                     const std::string& strDescription,
                                     const std::string& varItem = "*.*");

    // The chosen file's full path, "" when the user cancelled. A choice also lands in
    // FileName and, without its folder, in FileTitle.
    std::string CommonFileOpen();

    std::string DialogTitle;
    std::string DefaultExt;
    std::string FileName;
    std::string Filter;
    std::string FileTitle;
    std::string InitDir;
};

// The folder dialog.
class CBrowseDlg {
public:
    // On a choice, sReturnPath becomes the chosen folder (without a final separator, unless it
    // is the root); on cancel it keeps its value. Returns whether the user chose.
    bool ShowBrowseDlg(std::string& sReturnPath) const;

    std::string Prompt;
};

} // namespace quorvex
