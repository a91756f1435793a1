#include "ui/about/help.hpp"

#include "support/app_info.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "support/preferences.hpp"
#include "ui/about/frm_about.hpp"
#include "ui/launch.hpp"
#include "ui/schedule/frm_schedule.hpp"
#include "ui/wizard/browse.hpp"

#include <algorithm>
#include <cctype>

namespace quorvex {

namespace {

constexpr const char* kVerificationError = "Verification Error";
constexpr const char* kBrowserDescription = "Internet Explorer or Netscape Navigator";
// Programs have no extension here, so the picker lists every file.
constexpr const char* kProgramExtension = "";

// A registration may name the program with arguments behind it; Windows paths end the
// program at ".exe" (any case here, so "IEXPLORE.EXE" is not cut short). Other paths are the
// program as they stand.
std::string programPart(const std::string& path)
{
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t exe = lower.find(".exe");
    return exe == std::string::npos ? path : path.substr(0, exe + 4);
}

void showLicenseNotice()
{
    MsgBox(std::string("Quorvex is provided \"as is\", without warranty of any kind.") + kCrLf +
               kCrLf + "You use it at your own risk; keep your own copies of your databases.",
           mb::OkOnly | mb::Information, "License Agreement");
}

} // namespace

std::string homepageAddress()
{
    return QUORVEX_HOMEPAGE;
}

std::string supportMailAddress()
{
    return QUORVEX_SUPPORT_ADDRESS;
}

void openHelpItem(frmSchedule& owner, HelpItem item)
{
    switch (item) {
    case HelpItem::Contents:
        HelpContents();
        break;
    case HelpItem::License:
        showLicenseNotice();
        break;
    case HelpItem::Homepage:
        RunIE(homepageAddress());
        break;
    case HelpItem::About: {
        frmAbout about(&owner);
        QObject::connect(&about, &frmAbout::helpRequested, &owner,
                         [&owner] { owner.mnuHelpContents_Click(); });
        about.exec();
        break;
    }
    }
}

void HelpContents()
{
    const std::string help =
        app().directory + kPathSeparator + "Help" + kPathSeparator + "Quorvex_Help.htm";
    if (!isPlainFile(help)) {
        MsgBox("The target file '" + help + "' does not exist; operation has been cancelled.",
               mb::Exclamation, kVerificationError);
        return;
    }
    const std::string program = programPart(FindExecutable(help));
    if (program.empty()) {
        MsgBox("You do not have a browser currently installed", mb::Exclamation,
               kVerificationError);
        return;
    }
    if (startCommandLine("\"" + program + "\" \"" + help + "\"") == 0)
        MsgBox("The browser on your system was unable to open the help file.", mb::Exclamation,
               "Help File Failure");
}

void RunIE(const std::string& address)
{
    constexpr const char* kModule = "appSetup.bas";
    try {
        Preferences& prefs = preferences();
        if (!isPlainFile(prefs.IEPath)) {
            std::string picked = prefs.IEPath;
            BrowseFile(picked, kProgramExtension, kBrowserDescription, kModule);
            if (picked.empty())
                return;
            prefs.IEPath = picked;
            SavePreferences();
        }
        // The browser path is not quoted: a path with blanks is found as Windows finds it.
        if (startCommandLine(prefs.IEPath + " " + address) == 0)
            throw RuntimeError::fromNumber(err::PathFileAccess);
    } catch (const RuntimeError& e) {
        HandleError(false, e, kModule, "RunIE()");
    } catch (const std::exception& e) {
        HandleError(false, toRuntimeError(e), kModule, "RunIE()");
    }
}

} // namespace quorvex
