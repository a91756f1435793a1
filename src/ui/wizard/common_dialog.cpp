#include "ui/wizard/common_dialog.hpp"

#include "support/desktop.hpp"
#include "support/files.hpp"

#include <filesystem>

namespace quorvex {

namespace {

// The entries of a filter list as AddFilterItem builds it.
std::vector<OpenFileRequest::Filter> filterEntries(const std::string& filter)
{
    std::vector<OpenFileRequest::Filter> entries;
    size_t at = 0;
    while (at < filter.size()) {
        const size_t descriptionEnd = filter.find('\0', at);
        if (descriptionEnd == std::string::npos)
            break;
        size_t patternEnd = filter.find('\0', descriptionEnd + 1);
        if (patternEnd == std::string::npos)
            patternEnd = filter.size();
        entries.push_back({filter.substr(at, descriptionEnd - at),
                           filter.substr(descriptionEnd + 1, patternEnd - descriptionEnd - 1)});
        at = patternEnd + 1;
    }
    return entries;
}

} // namespace

CCommonDialog::CCommonDialog()
{
    std::error_code ec;
    InitDir = std::filesystem::current_path(ec).string();
}

std::string CCommonDialog::AddFilterItem(const std::string& strFilter,
                                         const std::string& strDescription,
                                         const std::string& varItem)
{
    std::string result = strFilter;
    result.append(strDescription).push_back('\0');
    result.append(varItem).push_back('\0');
    return result;
}

std::string CCommonDialog::CommonFileOpen()
{
    const OpenFileRequest request{DialogTitle, filterEntries(Filter), DefaultExt, InitDir,
                                  FileName};
    const std::optional<std::string> chosen = desktop().openFileName(request);
    if (!chosen || chosen->empty())
        return {};
    FileName = *chosen;
    FileTitle = FileName.substr(FileName.rfind(kPathSeparator) + 1); // npos + 1 is 0
    return FileName;
}

bool CBrowseDlg::ShowBrowseDlg(std::string& sReturnPath) const
{
    const std::optional<std::string> chosen = desktop().chooseFolder(Prompt);
    if (chosen)
        sReturnPath = *chosen;
    return chosen.has_value();
}

} // namespace quorvex
