// Start-up with a large jobs directory: list it, open every job file and compute its next run,
// as the agent does before it shows the job list. Reports jobs per second.
#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "support/app_info.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace quorvex;

constexpr int kJobs = 10000;

CDatabaseJob sampleJob(int i)
{
    CDatabaseJob job;
    job.setJobName("Job " + std::to_string(i));
    job.setJobType(static_cast<int16_t>(1 + i % 3));
    job.setDateLastRun(DateTime::fromDate(2026, 1 + i % 12, 1 + i % 28));
    job.setStartTime(DateTime::fromTime(i % 24, i % 60));
    job.setFrequency(1 + i % 3);
    job.setDayOfWeek(static_cast<int16_t>(2 << (i % 7)));
    job.setDayOfMonth(static_cast<int16_t>(1 + i % 31));
    job.setBackupSourceMDB("/data/db" + std::to_string(i) + ".mdb");
    job.setBackupTargetDirectory("/backup/db" + std::to_string(i));
    job.setNumberCopies(static_cast<int16_t>(i % 100));
    return job;
}

// Every save makes its file durable, which costs tens of milliseconds per save on a real disk;
// the files are written to memory when the system offers it. Loading reads from the page cache
// either way.
std::filesystem::path scratchRoot()
{
    std::error_code ec;
    return std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                         : std::filesystem::temp_directory_path();
}

// A jobs directory with kJobs files written by the job file writer, made once per run.
class JobsDirectory {
public:
    JobsDirectory()
    {
        std::string pattern = (scratchRoot() / "quorvex-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_dir = pattern + "/";
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kJobs; ++i)
            sampleJob(i).SaveDatabaseJob(m_dir + "Job" + std::to_string(i) + ".tsk");
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::fprintf(stderr, "wrote %d job files in %.2f s (%.0f saves/s)\n", kJobs, took.count(),
                     kJobs / took.count());
    }
    ~JobsDirectory()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    const std::string& path() const { return m_dir; }

private:
    std::string m_dir;
};

void BM_LoadJobsAtStartUp(benchmark::State& state)
{
    static const JobsDirectory jobs;
    int64_t loaded = 0;
    for (auto _ : state) {
        CDatabaseJob job;
        for (const std::string& file : listJobFiles(jobs.path())) {
            job.OpenDatabaseJob(file);
            benchmark::DoNotOptimize(job.DateNextRun());
            ++loaded;
        }
    }
    state.SetItemsProcessed(loaded);
    state.counters["jobs/s"] =
        benchmark::Counter(static_cast<double>(loaded), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadJobsAtStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: the same listing, then each file opened, read whole and closed, nothing more.
void BM_PlainReadLoop(benchmark::State& state)
{
    static const JobsDirectory jobs;
    int64_t read = 0;
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        for (const std::string& file : listJobFiles(jobs.path())) {
            std::FILE* in = std::fopen(file.c_str(), "rb");
            if (in == nullptr)
                std::abort();
            benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), in));
            std::fclose(in);
            ++read;
        }
    }
    state.SetItemsProcessed(read);
}
BENCHMARK(BM_PlainReadLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
