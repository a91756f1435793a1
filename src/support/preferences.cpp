#include "support/preferences.hpp"

#include "platform/file_association.hpp"
#include "support/app_info.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "support/ini_file.hpp"
#include "support/numeric.hpp"
#include "support/transaction_log.hpp"

#include <utility>

namespace quorvex {

namespace {

constexpr std::string_view kSection = "Preferences";

std::string readPreference(std::string_view key, std::string_view defaultValue,
                           const std::string& file)
{
    std::string value;
    GetIniData(kSection, key, defaultValue, value, file);
    return value;
}

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
    if (value != 0 || readPreference(key, kUnset, file) != kUnset)
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
        {"program", app().directory},
        {"data", app().dataDirectory},
        {"jobs", DatabaseJobsPath()},
        {"preferences", preferencesFilePath()},
        {"log", transactionLogPath()},
        {"errors", errorLogPath()},
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
        const std::string file = preferencesFilePath();
        Preferences& prefs = preferences();
        prefs.StopOnError = toInt16(Val(readPreference("StopOnError", "-1", file)));
        prefs.NumberCopies = toInt16(Val(readPreference("NumberCopies", "99", file)));
        prefs.IEPath = readPreference("IEPath", defaultBrowser(), file);
        prefs.CatchUpMissedRuns = toInt16(Val(readPreference("CatchUpMissedRuns", "0", file)));
        prefs.VerifyBackups = toInt16(Val(readPreference("VerifyBackups", "0", file)));
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
