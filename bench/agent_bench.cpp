// The agent with 10,000 job files: start-up to a filled job list (time and peak memory), and
// one due-job check over the 10,000 rows when none is due (time per tick). A small main:
//   agent_bench                 runs both measurements in a scratch application directory
//   agent_bench --prepare DIR   only writes DIR/DatabaseJobs (for agent_idle_cpu.sh)
#include "agent/app_setup.hpp"
#include "agent/frm_main.hpp"
#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "support/app_info.hpp"
#include "support/clock.hpp"
#include "support/preferences.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <QApplication>
#include <QTreeWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

using namespace quorvex;
using Seconds = std::chrono::duration<double>;

constexpr int kJobs = 10000;
constexpr int kTicks = 50;

// Noon on a Saturday; every job starts later in the day, so none is due.
class NoonClock final : public Clock {
public:
    DateTime now() const override { return DateTime::fromDate(2026, 12, 5).addSeconds(12 * 3600); }
};

void writeJobs(const std::filesystem::path& appDir)
{
    const std::filesystem::path jobs = appDir / "DatabaseJobs";
    std::filesystem::create_directories(jobs);
    for (int i = 0; i < kJobs; ++i) {
        CDatabaseJob job;
        job.setJobName("Job " + std::to_string(i));
        job.setJobType(static_cast<int16_t>(1 + i % 3));
        job.setDateLastRun(DateTime::fromDate(2026, 1 + i % 12, 1 + i % 28));
        job.setStartTime(DateTime::fromTime(13 + i % 11, i % 60));
        job.setFrequency(1 + i % 2);
        job.setDayOfWeek(static_cast<int16_t>(i % 2 == 0 ? 254 : 2 << (i % 7)));
        job.setBackupSourceMDB("/data/db" + std::to_string(i) + ".mdb");
        job.setBackupTargetDirectory("/backup/db" + std::to_string(i));
        job.setNumberCopies(3);
        job.SaveDatabaseJob((jobs / ("Job" + std::to_string(i) + ".tsk")).string());
    }
}

// Job saves are made durable, which is slow on a disk; memory serves when there is some.
std::filesystem::path scratchDirectory()
{
    std::error_code ec;
    const std::filesystem::path root = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (root / "quorvex-agent-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    return pattern;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct FirstPaint final : QObject {
    bool seen = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        seen = seen || event->type() == QEvent::Paint;
        return false;
    }
};

template <class Body> double timed(Body&& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return Seconds(std::chrono::steady_clock::now() - start).count();
}

int measure(int argc, char** argv)
{
    const std::filesystem::path appDir = scratchDirectory();
    std::printf("writing %d job files: %.2f s\n", kJobs, timed([&] { writeJobs(appDir); }));
    AppInfo info;
    info.directory = appDir.string();
    setApp(info);
    NoonClock noon;
    setClock(&noon);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const long before = peakKilobytes();
    AppSetup setup(true);
    bool started = false;
    const double startUp = timed([&] { started = setup.Main(); });
    const int rows = started ? setup.schedule()->rowCount() : 0;
    std::printf("start-up to a filled list: %.3f s for %d rows\n", startUp, rows);
    std::printf("peak memory: %ld KiB before start-up, %ld KiB after (+%ld KiB)\n", before,
                peakKilobytes(), peakKilobytes() - before);

    // The share of start-up that is reading the job files, the rest being the list's rows.
    const double reading = timed([&] {
        for (const std::string& file : listJobFiles(DatabaseJobsPath())) {
            CDatabaseJob job;
            job.OpenDatabaseJob(file);
            job.DateNextRun();
        }
    });
    std::printf("  of which listing and reading the job files: %.3f s\n", reading);

    // From showing the filled window to its first paint.
    frmSchedule& window = *setup.schedule();
    FirstPaint painted;
    window.lvwSchedule()->viewport()->installEventFilter(&painted);
    const double toPaint = timed([&] {
        window.show();
        while (!painted.seen)
            QCoreApplication::processEvents();
    });
    std::printf("showing the window to its first paint: %.3f s\n", toPaint);
    window.hide();

    frmMain& main = *setup.mainWindow();
    const double ticks = timed([&] {
        for (int i = 0; i < kTicks; ++i)
            main.tmrCheckForDatabaseJob_Timer();
    });
    std::printf("one tick over %d rows, none due: %.3f ms (mean of %d)\n", rows,
                ticks / kTicks * 1000, kTicks);

    setClock(nullptr);
    std::filesystem::remove_all(appDir);
    return rows == kJobs ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--prepare") {
        writeJobs(argv[2]);
        return 0;
    }
    return measure(argc, argv);
}
