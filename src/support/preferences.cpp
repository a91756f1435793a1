#include "support/preferences.hpp"

#include "platform/file_association.hpp"
#include "support/app_info.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "support/ini_file.hpp"
#include "support/transaction_log.hpp"

#include <utility>

namespace quorvex {

namespace {

constexpr std::string_view kSection = "Preferences";

// The program that hands addresses to the user's own browser; nothing when there is none, so
// the first link asks for a browser.
std::string defaultBrowser()
{
    return webBrowserProgram().value_or("");
}

// A choice that is off unless the user turns it on is written once that has happened, so
// the files of users who never did stay as they were.
void writeOptIn(std::string_view key, int16_t value, const std::string& file)
{
    constexpr std::string_view kUnset = "\x01";
    if (value != 0 || IniReader(file).value(kSection, key, kUnset) != kUnset)
        WriteIniData(kSection, key, value != 0 ? "-1" : "0", file);
}

} // namespace

Preferences& preferences()
{
    static Preferences instance;
    return instance;
}

std::string preferencesFilePath()
{
    return dataFile("Quorvex.ini");
}

std::string DatabaseJobsPath()
{
    return app().dataDirectory + kPathSeparator + "DatabaseJobs" + kPathSeparator;
}

std::string pathsText()
{
    const std::pair<const char*, std::string> places[] = {
        {"program", app().directory},           {"data", app().dataDirectory},
        {"jobs", DatabaseJobsPath()},           {"preferences", preferencesFilePath()},
        {"log", transactionLogPath()},          {"errors", errorLogPath()},
        {"lock", dataFile(instanceLockName())},
    };
    std::string text;
    for (const auto& [what, path] : places)
        text += std::string(what) + '\t' + path + '\n';
    return text;
}

void LoadPreferences()
{
    trapFatal("appSetup.bas", "LoadPreferences()", [] {
        // One read of the file for all its keys.
        const IniReader file(preferencesFilePath());
        Preferences& prefs = preferences();
        prefs.StopOnError = file.int16Value(kSection, "StopOnError", "-1");
        prefs.NumberCopies = file.int16Value(kSection, "NumberCopies", "99");
        prefs.IEPath = file.value(kSection, "IEPath", defaultBrowser());
        prefs.CatchUpMissedRuns = file.int16Value(kSection, "CatchUpMissedRuns", "0");
        prefs.VerifyBackups = file.int16Value(kSection, "VerifyBackups", "0");
    });
}

void SavePreferences()
{
    trapFatal("appSetup.bas", "SavePreferences()", [] {
        const std::string file = preferencesFilePath();
        const Preferences& prefs = preferences();
        WriteIniData(kSection, "StopOnError", prefs.StopOnError != 0 ? "-1" : "0", file);
        WriteIniData(kSection, "NumberCopies", std::to_string(prefs.NumberCopies), file);
        WriteIniData(kSection, "IEPath", prefs.IEPath, file);
        writeOptIn("CatchUpMissedRuns", prefs.CatchUpMissedRuns, file);
        writeOptIn("VerifyBackups", prefs.VerifyBackups, file);
    });
}

} // namespace quorvex
