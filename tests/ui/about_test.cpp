#include "fakes/xdg_tree.hpp"
#include "support/app_info.hpp"
#include "support/error_handler.hpp"
#include "ui/about/frm_about.hpp"
#include "ui/about/help.hpp"
#include "ui/form_test.hpp"

#include <QLabel>
#include <QTest>

#include <fstream>

namespace quorvex::test {
namespace {

// A program that writes the words it was started with, one a line, into <its folder>/args.
void writeRecorder(const std::filesystem::path& program, int exitCode = 0)
{
    std::filesystem::create_directories(program.parent_path());
    std::ofstream(program) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/args\"\nexit "
                           << exitCode << "\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

// Web pages open with a browser in a folder whose name holds a blank.
std::filesystem::path browser()
{
    return XdgEnvironment::root() / "Web Browser" / "browse";
}
const auto* const g_association =
    ::testing::AddGlobalTestEnvironment(new XdgEnvironment([](XdgTree& tree) {
        writeRecorder(browser());
        tree.associateExtension(".htm", browser().string());
    }));

class HelpTest : public FormTest {
protected:
    // The words the recorder beside program was started with, once it has written them.
    static std::string startedWith(const std::filesystem::path& program)
    {
        const auto args = program.parent_path() / "args";
        std::string words;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !(words = readFile(args)).empty(); }));
        std::filesystem::remove(args);
        return words;
    }
};

// The About box shows the version; its button shows the error log, created empty first, with the
// desktop's opener, and tells when the opener finds no viewer. The help page opens with the program
// of its association; addresses with the browser the user chose, asked for once and kept. The
// transcript has the boxes and the browser dialogs.
TEST_F(HelpTest, ErrorLogButtonHelpPageAndAddressesOpenInTheirProgramsFailuresAreTold)
{
    usePath(dir());
    writeRecorder(dir() / "xdg-open");
    AppInfo info = app();
    info.major = 1;
    info.minor = 2;
    info.revision = 34;
    setApp(info);
    frmAbout about;
    m_form = &about;
    // The version as built; this build names no homepage or mail address, so none is offered.
    EXPECT_EQ(about.findChild<QLabel*>("lblTitle")->text(), "Quorvex 1.2 (Bld 34)");
    EXPECT_EQ(about.findChild<QLabel*>("lblWebsite"), nullptr);
    EXPECT_EQ(about.findChild<QLabel*>("lblMailTo"), nullptr);
    click("cmdErrorLog");
    EXPECT_EQ(startedWith(dir() / "xdg-open"), errorLogPath() + "\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(errorLogPath()));
    EXPECT_EQ(readFile(errorLogPath()), "");
    writeRecorder(dir() / "xdg-open", 3);
    click("cmdErrorLog");
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_desktop.boxes().empty(); }));

    HelpContents();
    const std::string page = path("Help/Quorvex_Help.htm");
    std::filesystem::create_directories(dir() / "Help");
    writeFile(page, "<html></html>");
    HelpContents();
    EXPECT_EQ(startedWith(browser()), page + "\n") << "the program of the entry, without its %f";

    // A cancel keeps the browser that is gone: the second dialog proposes it again.
    preferences().IEPath = path("gone/browser");
    m_desktop.chooseNext(std::nullopt);
    RunIE("https://example.org/");
    m_desktop.chooseNext(browser().string());
    RunIE("https://example.org/");
    EXPECT_EQ(startedWith(browser()), "https://example.org/\n");
    EXPECT_NE(readFile(preferencesFilePath()).find("IEPath=" + browser().string() + "\r\n"),
              std::string::npos);
    for (const OpenFileRequest& asked : m_desktop.fileDialogs())
        note("file dialog: " + asked.title + " | " + asked.fileName);

    writeFile(path("plain"), "not a program");
    preferences().IEPath = path("plain");
    RunIE("https://example.org/");
    expectInErrorLog({"appSetup.bas/RunIE()"});
    expectTranscript();
}

} // namespace
} // namespace quorvex::test
