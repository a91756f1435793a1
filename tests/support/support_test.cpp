// What the support layer does alike on every system: numbers, dates, times and characters in
// texts, INI files and the preferences, the error log and the transaction log.
#include "support/computer_name.hpp"
#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"
#include "support/ini_file.hpp"
#include "support/numeric.hpp"
#include "support/preferences.hpp"
#include "support/strings.hpp"
#include "support/transaction_log.hpp"

#include "fakes/case_table.hpp"
#include "fakes/test_environment.hpp"

#include <regex>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;

// A field with its escapes \t, \r, \n and \xHH (two hexadecimal digits) written out as the
// characters they stand for, so that a case may hold blanks at its ends and control bytes.
std::string unescaped(std::string text)
{
    for (auto at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
        const char kind = text[at + 1];
        const std::string hex = kind == 'x'   ? text.substr(at + 2, 2)
                                : kind == 't' ? "09"
                                : kind == 'r' ? "0D"
                                              : "0A";
        text.replace(at, kind == 'x' ? 4 : 2, 1, static_cast<char>(std::stoi(hex, nullptr, 16)));
    }
    return text;
}

// The cases of a table of this folder's data directory, their escapes written out.
std::vector<CaseFields> casesOf(const std::string& table)
{
    std::vector<CaseFields> cases = readCaseTable(QUORVEX_TEST_DATA_DIR "/" + table);
    for (CaseFields& fields : cases)
        for (std::string& field : fields)
            field = unescaped(field);
    return cases;
}

using IniFileTest = AppDirTest;

// Val, the rounding and the integer conversions behind every number that job files and
// Quorvex.ini hold.
TEST(Numbers, AreReadRoundedAndConvertedOrOverflow)
{
    for (const auto& c : casesOf("numbers.txt")) {
        double value = 0;
        const int32_t error = errorNumberOf([&] {
            value = c[0] == "Val" ? Val(c[1]) : std::stod(c[1]);
            if (c[0] == "roundHalfEven")
                value = roundHalfEven(value);
            else if (c[0] != "Val")
                value = c[0] == "toInt16" ? toInt16(value) : toInt32(value);
        });
        EXPECT_EQ(error, c[2] == "Overflow" ? err::Overflow : 0) << c[0] << " '" << c[1] << "'";
        if (error == 0) {
            EXPECT_EQ(value, std::stod(c[2])) << c[0] << " '" << c[1] << "'";
        }
    }
}

// What a case's text reads as: the date or the time written back, the time with its seconds
// when it has any, or the error.
std::string readAs(const std::string& kind, const std::string& text)
{
    try {
        if (kind == "date")
            return formatDate(parseDate(text));
        const DateTime time = parseTime(text);
        return formatTime(time) + (time.second() != 0 ? ":" + std::to_string(time.second()) : "");
    } catch (const RuntimeError& e) {
        return e.number() == err::TypeMismatch ? "Type mismatch" : std::to_string(e.number());
    }
}

TEST(DateText, AcceptsEnglishMonthsInAnyCaseIsoDatesAndClockTimesAndRejectsTheRest)
{
    for (const auto& c : casesOf("date_time_text.txt"))
        EXPECT_EQ(readAs(c[0], c[1]), c[2]) << '"' << c[1] << '"';
}

TEST(Characters, AreCountedAndCutAsCodePointsNotBytes)
{
    for (const auto& c : casesOf("characters.txt")) {
        SCOPED_TRACE(c[0] + " at " + c[2]);
        EXPECT_EQ(characterCount(c[0]), std::stoul(c[1]));
        EXPECT_EQ(firstCharacters(c[0], std::stoul(c[2])), c[3]);
        EXPECT_EQ(lastCharacters(c[0], std::stoul(c[2])), c[4]);
    }
}

using StripBadCharsTest = AppDirTest;

// (The characters of job names dropped and double quotes made apostrophes: the job file names
// of the wizard's tests and TransactionLogTest.)
TEST_F(StripBadCharsTest, ReplacesEachListedCharacterInTextsUpTo32767Characters)
{
    EXPECT_EQ(StripBadChars("aAa", "a", "x"), "xAx");
    EXPECT_EQ(StripBadChars(std::string(32767, 'a'), "a", "").size(), 0u);
    std::string umlauts; // 32767 characters in twice the bytes
    for (int i = 0; i < 32767; ++i)
        umlauts += "\xC3\xBC";
    EXPECT_EQ(StripBadChars(umlauts, "a", ""), umlauts);
    EXPECT_THROW(StripBadChars(std::string(32768, 'a'), "a", ""), FatalExitCalled);
    expectInErrorLog({"ERR#6 @ Quorvex - Overflow", "libStrings.bas/StripBadChars()."});
}

TEST_F(IniFileTest, ReadsTheFirstMatchWhateverTheCaseBlanksQuotesAndLineEnds)
{
    for (const auto& c : casesOf("ini_read.txt")) {
        std::string result = "<untouched>";
        EXPECT_TRUE(GetIniData(c[0], c[1], "<default>", result, QUORVEX_TEST_DATA_DIR "/read.ini"));
        EXPECT_EQ(result, c[2]) << "[" << c[0] << "] " << c[1];
    }
}

TEST_F(IniFileTest, WritesInPlaceOrAtTheEndOfTheSectionKeepingEveryOtherLineOrRefusesBreakingValues)
{
    const std::string file = path("settings.ini");
    for (const auto& c : casesOf("ini_write.txt")) {
        writeFile(file, c[0]);
        const bool refused = c[4] == c[0];
        EXPECT_EQ(WriteIniData(c[1], c[2], c[3], file), !refused) << c[0];
        const IniValue values[] = {{"S", "k", "2"}, {c[1], c[2], c[3]}};
        EXPECT_TRUE(!refused || !WriteIniValues(values, file)) << c[2];
        EXPECT_EQ(readFile(file), c[4]) << c[0];
    }
}

// (Several values written together: JobFileTest.SavingOverAnotherJobsFile...)
TEST_F(IniFileTest, FailedWritesLeaveTheFileAsItWas)
{
    const std::string file = path("settings.ini");
    writeFile(file, "[S]\nk=1\n");
    fs::permissions(file, fs::perms(0444));
    fs::create_directory(path("folder.ini"));
    for (const char* name : {"settings.ini", "missing/settings.ini", "folder.ini"})
        EXPECT_FALSE(WriteIniData("S", "k", "2", path(name))) << name;
    EXPECT_EQ(readFile(file), "[S]\nk=1\n");
    EXPECT_FALSE(fs::exists(path("missing")));
    EXPECT_TRUE(fs::is_empty(path("folder.ini")));
}

// A new file gets the keys in their order.
TEST_F(IniFileTest, PreferencesReadLeadingNumbersAndWriteAStoredOneBackAsMinusOne)
{
    writeFile(preferencesFilePath(), "[Preferences]\r\nStopOnError=1\r\n"
                                     "NumberCopies=2.5 copies\r\nIEPath=/usr/bin/b\r\n");
    LoadPreferences();
    std::filesystem::remove(preferencesFilePath());
    SavePreferences();
    EXPECT_EQ(readFile(preferencesFilePath()),
              "[Preferences]\r\nStopOnError=-1\r\nNumberCopies=2\r\nIEPath=/usr/bin/b\r\n");
}

using ErrorHandlerTest = AppDirTest;

// The text with every match of the pattern replaced.
std::string replaced(const std::string& text, const char* pattern, const std::string& to)
{
    return std::regex_replace(text, std::regex(pattern), to);
}

// The error log and the boxes, compared whole with error_report.txt, the one home of the entry
// and of the box texts (written there with LF ends, the moment and the computer by name).
TEST_F(ErrorHandlerTest, EachReportAppendsItsWholeEntryShowsItsBoxAndOnlyAFatalOneEndsTheProgram)
{
    HandleError(false, RuntimeError(53, "Quorvex", "File 'a;b' is \"gone\"", 2), "libFiles.bas",
                "uKill()");
    const RuntimeError error(err::ObjectErrorBase + 1, "FilePathStripFileName()",
                             "Error, no \\'s in path", -5);
    EXPECT_THROW(HandleError(true, error, "libFiles.bas", "FilePathStripFileName()"),
                 FatalExitCalled);

    std::string report = readFile(errorLogPath()) + "-- the boxes: title (style): text\r\n";
    for (const auto& box : m_desktop.boxes())
        report += box.title + " (" + std::to_string(box.style) + "): " + box.text + "\r\n";
    std::string expected = readFile(QUORVEX_TEST_DATA_DIR "/error_report.txt");
    expected = replaced(replaced(expected, "\n", "\r\n"), "<computer>", GetComputerNameA());
    EXPECT_EQ(report, replaced(expected, "<date>", formatGeneralDate(at(2026, 12, 5, 10))));

    // Foreign failures and very long descriptions are reported once, in full.
    EXPECT_THROW(trapFatal("CDatabaseJob.cls", "OpenDatabaseJob()",
                           []() -> int { throw std::runtime_error("odd \"thing\""); }),
                 FatalExitCalled);
    const std::string description(40000, 'x');
    EXPECT_THROW(
        HandleError(true, RuntimeError(75, "Quorvex", description), "libLog.bas", "LogEvent()"),
        FatalExitCalled);
    expectInErrorLog({"Severity:    Fatal", "ERR#-2147221503 @ Quorvex - odd ~thing~\r\n",
                      "CDatabaseJob.cls/OpenDatabaseJob().",
                      "Description: ERR#75 @ Quorvex - " + description + "\r\n"});
    EXPECT_EQ(readFile(errorLogPath()).find("libStrings.bas"), std::string::npos);
    EXPECT_EQ(m_desktop.boxes().size(), 4u);
}

// A folder where the log should be makes it unwritable, also for root. A report still shows
// its box, and nothing escapes it. (A fatal one still ends the program:
// QuorvexctlTest.UnwritableErrorLogStillEndsAFatalReportWithStatusOne.)
TEST_F(ErrorHandlerTest, AnUnwritableErrorLogCostsTheEntryButNeverTheBox)
{
    fs::create_directory(path("quorvex.err"));
    const RuntimeError error(70, "Quorvex", "Permission denied");
    EXPECT_FALSE(WriteErrorLogEntry(false, error, "CDatabaseJob.cls", "ExecuteBackupNow()"));
    EXPECT_NO_THROW(HandleError(false, error, "appSetup.bas", "RunIE()"));
    EXPECT_EQ(m_desktop.boxes().size(), 1u);
}

using TransactionLogTest = AppDirTest;

TEST_F(TransactionLogTest, AppendsStampTwoBlanksAndTheMessageWithApostrophesAndCannotFailQuietly)
{
    LogEvent("Backup of \"D:\\Data\\Orders.mdb\" started");
    LogEvent("");
    m_clock.advanceSeconds(86400 + 3661);
    LogEvent("line one\r\nline two");
    EXPECT_EQ(transactionLogPath(), path("quorvex.log"));
    // transaction_log.txt, the one home of the log's lines, holds them with LF ends.
    EXPECT_EQ(readFile(transactionLogPath()),
              replaced(readFile(QUORVEX_TEST_DATA_DIR "/transaction_log.txt"), "\n", "\r\n"));
    // A log that cannot be written is fatal.
    fs::remove(transactionLogPath());
    fs::create_directory(transactionLogPath());
    EXPECT_THROW(LogEvent("lost"), FatalExitCalled);
    EXPECT_EQ(m_desktop.boxes().size(), 1u);
    expectInErrorLog({"Severity:    Fatal", "libLog.bas/LogEvent()."});
}

} // namespace
} // namespace quorvex::test
