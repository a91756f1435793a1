#include "agent/app_setup.hpp"

#include "agent/frm_main.hpp"
#include "agent/headless_desktop.hpp"
#include "agent/qt_desktop.hpp"
#include "agent/sys_tray.hpp"
#include "agent/termination_signals.hpp"
#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "platform/single_instance.hpp"
#include "support/app_info.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/preferences.hpp"
#include "ui/icons.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QTimer>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <utility>

namespace quorvex {

std::string commandLineText(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            text += ' ';
        text += argv[i];
    }
    return text;
}

bool isSilent(std::string_view commandLine)
{
    return commandLine.find("/SILENT") != std::string_view::npos;
}

bool noDisplay()
{
    const auto unset = [](const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr || *value == '\0';
    };
    return unset("DISPLAY") && unset("WAYLAND_DISPLAY");
}

std::optional<int> answerInformationRequest(int argc, const char* const* argv)
{
    if (argc != 2)
        return std::nullopt;
    const std::string_view request = argv[1];
    if (request == "--version") {
        std::cout << app().title << ' ' << app().major << '.' << app().minor << '.'
                  << app().revision << '\n';
    } else if (request == "--help") {
        std::cout << "usage: quorvex [/SILENT]\n"
                     "       quorvex --help | --version\n"
                     "Runs the scheduled Database Jobs from the notification area; /SILENT "
                     "starts with the icon only.\n\n"
                  << pathsText();
    } else {
        return std::nullopt;
    }
    std::cout.flush();
    return 0;
}

AppSetup::AppSetup(bool silent) : m_silent(silent) {}

AppSetup::~AppSetup() = default;

std::string AppSetup::lockFileName()
{
    return instanceLockName();
}

bool AppSetup::Main()
{
    return trapFatal("appSetup.bas", "Main()", [&] {
        m_instance = std::make_unique<SingleInstance>(app().dataDirectory, lockFileName());
        if (m_instance->anotherInstanceRuns()) {
            m_instance.reset();
            MsgBox("An instance of Quorvex is already running.", mb::OkOnly, "Verification Error");
            return false;
        }
        // The preferences come first: filling the list asks whether missed runs are made up.
        LoadPreferences();
        createWindows();
        // The list is filled before the window first shows, so it never appears empty.
        fillJobList();
        m_main->Form_Load(m_silent);
        m_tray->SystemTrayAddIcon(*m_main);
        return true;
    });
}

// The schedule window exists before the main window, which shows it; neither is shown by
// being created, and nothing runs before the event loop does.
void AppSetup::createWindows()
{
    m_schedule = std::make_unique<frmSchedule>();
    m_main = std::make_unique<frmMain>(*m_schedule);
    m_tray = std::make_unique<SysTrayApp>();
    m_signals = std::make_unique<TerminationSignals>();

    QObject::connect(m_tray.get(), &SysTrayApp::notification, m_main.get(),
                     &frmMain::Form_MouseMove);
    QObject::connect(m_main.get(), &frmMain::popupMenuRequested, m_tray.get(),
                     [this] { m_tray->popUpMenu(QCursor::pos()); });
    QObject::connect(m_tray.get(), &SysTrayApp::scheduleRequested, m_schedule.get(),
                     [this] { showSchedule(); });
    QObject::connect(m_tray.get(), &SysTrayApp::exitRequested, m_main.get(),
                     [this] { Exit_Click(); });
    QObject::connect(m_signals.get(), &TerminationSignals::terminationRequested, m_main.get(),
                     [this] { Exit_Click(); });
}

// Every file of the jobs directory gets a row, in listing order, even one that is no job
// file; two files that give the same name and JobType both get theirs. Only a file whose
// values cannot be read is left out (and reported), so one bad file never stops every job.
void AppSetup::fillJobList()
{
    const bool catchUp = preferences().CatchUpMissedRuns != 0;
    for (const std::string& file : listJobFiles(DatabaseJobsPath())) {
        CDatabaseJob job;
        if (!job.OpenDatabaseJobOrSkip(file))
            continue;
        m_schedule->AddItemListView(job.JobName(), job.DateLastRun(), job.DateNextRun(),
                                    job.StartTime(), job.JobType(), file);
        // A missed run shows as the row's next run, already passed, so the first check runs it.
        if (const std::optional<DateTime> missed = catchUp ? job.MissedRun() : std::nullopt)
            m_schedule->setMissedRun(m_schedule->rowCount(), *missed);
    }
}

void AppSetup::showSchedule()
{
    m_schedule->show();
    m_schedule->raise();
    m_schedule->activateWindow();
}

void AppSetup::Exit_Click()
{
    trapFatal("frmPopup.frm", "Exit_Click()", [&] {
        m_main->tmrCheckForDatabaseJob()->stop();
        m_tray->SystemTrayDeleteIcon();
        m_schedule->setKillForm(true);
        m_schedule->close();
        m_main->close();
        desktop().doEvents();
        // Closing one window may delete another; guarded pointers notice.
        QList<QPointer<QWidget>> remaining;
        for (QWidget* window : QApplication::topLevelWidgets())
            remaining.append(window);
        for (const QPointer<QWidget>& window : remaining)
            if (window)
                window->close();
        // A job that is running now finishes first; the event loop ends when it returns.
        QCoreApplication::exit(0);
    });
}

int runAgent(int argc, char** argv)
{
    if (!setUpFolders("quorvex"))
        return 1;
    if (const auto status = answerInformationRequest(argc, argv))
        return *status;
    // Before anything else, so a SIGTERM during start-up waits for the event loop.
    TerminationSignals::install();
    const std::string commandLine = commandLineText(argc, argv);
    const bool headless = noDisplay();
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        std::cerr << "quorvex: no display found; running on the offscreen platform as with "
                     "/SILENT"
                  << std::endl;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(icons::application());
    // Without a display nobody could answer a box: the headless desktop prints it and gives
    // the cautious answer.
    QtDesktop qtDesktop;
    HeadlessDesktop headlessDesktop;
    setDesktop(headless ? static_cast<Desktop*>(&headlessDesktop) : &qtDesktop);

    int status = 0;
    {
        AppSetup setup(headless || isSilent(commandLine));
        if (setup.Main()) {
            qtDesktop.setTray(setup.tray());
            status = QApplication::exec();
        }
    }
    setDesktop(nullptr);
    TerminationSignals::uninstall();
    return status;
}

} // namespace quorvex
