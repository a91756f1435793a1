// Times a plain backup of a large file, with and without the check that reads the copy back,
// against cp (and cp + sync), and a zip backup against running Info-ZIP's zip directly. The
// files live in a temporary folder that is removed afterwards.
//   backup_bench [plain-size-MiB (1024)] [zip-size-MiB (256)]
#include "execution/execute_job.hpp"
#include "support/app_info.hpp"
#include "support/preferences.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace quorvex;

class SilentStatus final : public StatusDisplay {
public:
    void setMessageText(const std::string&) override {}
    void setLightVisible(int, bool) override {}
    void refresh() override {}
};

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Random bytes for the plain copy; for zip, text-like data that compresses to about a third,
// as database files tend to.
void makeFile(const fs::path& path, size_t mebibytes, bool compressible)
{
    std::mt19937_64 random(42);
    std::vector<char> block(size_t{1} << 20);
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < mebibytes; ++i) {
        for (char& c : block) {
            const auto r = random();
            c = compressible ? static_cast<char>('a' + r % 16) : static_cast<char>(r);
        }
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
}

void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
}

double backup(const fs::path& source, const fs::path& target, bool compress)
{
    CDatabaseJob job;
    job.setJobName("Bench");
    job.setJobType(job_type::Backup);
    job.setBackupSourceMDB(source.string());
    job.setBackupTargetDirectory(target.string());
    job.setCompress(compress);
    job.setNumberCopies(0);
    SilentStatus status;
    const double time = seconds([&] { ExecuteDatabaseJobNow(job, status); });
    if (job.Failure())
        std::fprintf(stderr, "backup failed, see %s/quorvex.log\n", app().directory.c_str());
    return time;
}

void report(const char* what, size_t mebibytes, double ours, const char* otherName, double other)
{
    std::printf("%-6s %5zu MiB: backup %.2f s, %s %.2f s, ratio %.2f\n", what, mebibytes, ours,
                otherName, other, ours / other);
}

} // namespace

int main(int argc, char** argv)
{
    const size_t plainSize = argc > 1 ? std::stoul(argv[1]) : 1024;
    const size_t zipSize = argc > 2 ? std::stoul(argv[2]) : 256;

    std::string pattern = (fs::temp_directory_path() / "quorvex-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    const fs::path root = pattern;
    const fs::path data = root / "data";
    const fs::path target = root / "backup";
    fs::create_directories(data);
    fs::create_directories(target);
    fs::copy_file(runningProgramDirectory() + "/zip", root / "zip");
    AppInfo info;
    info.directory = root.string();
    setApp(info);
    preferences().NumberCopies = 99;

    const fs::path big = data / "Big.mdb";
    makeFile(big, plainSize, false);
    run("sync");
    // The best of three rounds of each, taken in turns, so a busy moment of the machine
    // weighs on all three alike. The job keeps no copy, so each backup replaces the last.
    double ours = 1e9, checked = 1e9, cpSync = 1e9, cp = 1e9;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, backup(big, target, false));
        preferences().VerifyBackups = -1;
        checked = std::min(checked, backup(big, target, false));
        preferences().VerifyBackups = 0;
        const std::string copy = root.string() + "/cp.mdb";
        const double copied = seconds([&] { run("cp '" + big.string() + "' '" + copy + "'"); });
        cp = std::min(cp, copied);
        cpSync = std::min(cpSync, copied + seconds([&] { run("sync '" + copy + "'"); }));
        fs::remove(copy);
    }
    report("plain", plainSize, ours, "cp", cp);
    report("plain", plainSize, ours, "cp+sync", cpSync);
    report("check", plainSize, checked, "cp+sync", cpSync);
    fs::remove(big);
    fs::remove(target / "Big.mdb");

    const fs::path mid = data / "Mid.mdb";
    makeFile(mid, zipSize, true);
    run("sync");
    const double zipped = backup(mid, target, true);
    const double zip = seconds([&] {
        run("zip -v -n .zip '" + root.string() + "/direct.zip' '" + mid.string() + "' >/dev/null");
    });
    report("zip", zipSize, zipped, "zip", zip);

    fs::remove_all(root);
    return 0;
}
