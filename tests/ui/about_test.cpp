#include "fakes/job_files_test.hpp"
#include "fakes/xdg_tree.hpp"
#include "support/app_info.hpp"
#include "support/error_handler.hpp"
#include "ui/about/frm_about.hpp"
#include "ui/about/help.hpp"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace quorvex::test {
namespace {

// A program that writes the words it was started with, one a line, into <its folder>/args.
void writeRecorder(const std::filesystem::path& program, int exitCode = 0)
{
    std::filesystem::create_directories(program.parent_path());
    std::ofstream(program) << ("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/args\"\n"
                               "exit " +
                               std::to_string(exitCode) + "\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

// The recorder has written its words (at least a line end), not only created the file.
bool written(const std::filesystem::path& file)
{
    std::error_code ec;
    return std::filesystem::file_size(file, ec) > 0 && !ec;
}

std::filesystem::path helpRoot()
{
    return std::filesystem::temp_directory_path() / ("quorvex-help-" + std::to_string(getpid()));
}

// Web pages open with a browser in a folder whose name holds a blank. The association service
// reads its folders once per process, so this is in place before the first test.
std::filesystem::path browser()
{
    return helpRoot() / "Web Browser" / "browse";
}

struct BrowserAssociation : ::testing::Environment {
    void SetUp() override
    {
        writeRecorder(browser());
        XdgTree tree(helpRoot() / "xdg");
        tree.associateExtension(".htm", browser().string());
        tree.applyEnvironment();
    }
    void TearDown() override { std::filesystem::remove_all(helpRoot()); }
};
const auto* const g_browser = ::testing::AddGlobalTestEnvironment(new BrowserAssociation);

class HelpTest : public JobFilesTest {
protected:
    void SetUp() override
    {
        JobFilesTest::SetUp();
        std::filesystem::remove(browserArgs());
    }
    // The words the browser was started with, once it has written them.
    static std::string browserStartedWith()
    {
        EXPECT_TRUE(QTest::qWaitFor([] { return written(browserArgs()); }));
        return readFile(browserArgs());
    }
    static std::filesystem::path browserArgs() { return browser().parent_path() / "args"; }
};

TEST_F(HelpTest, AboutBoxShowsTheVersionAndOffersOnlyTheAddressesTheBuildGave)
{
    AppInfo info = app();
    info.major = 1;
    info.minor = 2;
    info.revision = 34;
    setApp(info);
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About Quorvex");
    EXPECT_EQ(about.findChild<QLabel*>("lblTitle")->text(), "Quorvex 1.2 (Bld 34)");
    // This build names no homepage or mail address.
    EXPECT_EQ(about.findChild<QLabel*>("lblWebsite"), nullptr);
    EXPECT_EQ(about.findChild<QLabel*>("lblMailTo"), nullptr);
    frmSchedule schedule;
    EXPECT_FALSE(schedule.findChild<QAction*>("mnuHelpHomepage")->isVisible());

    int helpAsked = 0;
    QObject::connect(&about, &frmAbout::helpRequested, [&] { ++helpAsked; });
    QTest::keyRelease(about.findChild<QPushButton*>("cmdErrorLog"), Qt::Key_F1);
    EXPECT_EQ(helpAsked, 1);
}

TEST_F(HelpTest, HelpContentsOpensThePageBesideTheProgramsInItsBrowser)
{
    const std::string page = path("Help/Quorvex_Help.htm");
    HelpContents();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"The target file '" + page +
                                              "' does not exist; operation has been cancelled.",
                                          mb::Exclamation, "Verification Error"}}));
    std::filesystem::create_directories(dir() / "Help");
    writeFile(page, "<html></html>");
    HelpContents();
    EXPECT_EQ(browserStartedWith(), page + "\n") << "the program of the entry, without its %f";
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(HelpTest, RunIEAsksForABrowserOnceKeepsItAndReportsOneThatCannotStart)
{
    preferences().IEPath = path("gone/browser");
    m_desktop.chooseNext(std::nullopt);
    RunIE("https://example.org/");
    EXPECT_EQ(preferences().IEPath, path("gone/browser"));
    EXPECT_FALSE(std::filesystem::exists(preferencesFilePath()));
    ASSERT_EQ(m_desktop.fileDialogs().size(), 1u);
    EXPECT_EQ(m_desktop.fileDialogs()[0].title,
              "Browse for Internet Explorer or Netscape Navigator");
    EXPECT_EQ(m_desktop.fileDialogs()[0].fileName, path("gone/browser"));

    m_desktop.chooseNext(browser().string());
    RunIE("https://example.org/");
    EXPECT_EQ(browserStartedWith(), "https://example.org/\n");
    EXPECT_NE(readFile(preferencesFilePath()).find("IEPath=" + browser().string() + "\r\n"),
              std::string::npos);
    std::filesystem::remove(browserArgs());
    RunIE("mailto:help@example.org");
    EXPECT_EQ(browserStartedWith(), "mailto:help@example.org\n");
    EXPECT_EQ(m_desktop.fileDialogs().size(), 2u) << "the kept browser is used without asking";

    // A browser that cannot be started is reported, and the program goes on.
    writeFile(path("plain"), "not a program");
    preferences().IEPath = path("plain");
    RunIE("https://example.org/");
    EXPECT_NE(readFile(errorLogPath()).find("appSetup.bas/RunIE()"), std::string::npos);
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(HelpTest, ErrorLogButtonShowsTheLogCreatedEmptyAndAViewerFailureIsTold)
{
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", dir().c_str(), 1);
    writeRecorder(dir() / "xdg-open");
    frmAbout about;
    about.findChild<QPushButton*>("cmdErrorLog")->click();
    EXPECT_TRUE(QTest::qWaitFor([this] { return written(dir() / "args"); }));
    EXPECT_EQ(readFile(dir() / "args"), errorLogPath() + "\n");
    EXPECT_EQ(readFile(errorLogPath()), "");

    writeRecorder(dir() / "xdg-open", 3);
    about.findChild<QPushButton*>("cmdErrorLog")->click();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !boxes().empty(); }));
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(std::get<0>(boxes()[0]).find("No program to show text files is installed"),
              std::string::npos);
}

} // namespace
} // namespace quorvex::test
