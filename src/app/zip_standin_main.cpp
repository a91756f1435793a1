// Installed as "zip" in the application directory, where the backup looks for its archiver.
// It takes the Windows archiver's command line, drops "-S" (hidden and system files mean
// nothing here, and Info-ZIP's zip on Linux refuses the option with code 16) and becomes the
// real Info-ZIP zip with every other argument unchanged, so zip's exit code is the result.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// What a shell answers for a program it cannot find; zip itself never exits with it.
constexpr int kNoRealZip = 127;

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The first "zip" along PATH that can be run and is not this program.
std::string findRealZip()
{
    struct stat self {};
    if (stat("/proc/self/exe", &self) != 0)
        return {};
    const char* searchPath = std::getenv("PATH");
    std::string_view folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        const std::string folder(folders.substr(0, colon));
        folders = colon == std::string_view::npos ? "" : folders.substr(colon + 1);
        if (folder.empty())
            continue;
        const std::string candidate = folder + "/zip";
        struct stat found {};
        if (stat(candidate.c_str(), &found) == 0 && S_ISREG(found.st_mode) &&
            !sameFile(found, self) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    const std::string zip = findRealZip();
    if (zip.empty()) {
        std::fprintf(stderr, "zip: Info-ZIP's zip was not found on PATH\n");
        return kNoRealZip;
    }
    std::vector<char*> args{const_cast<char*>(zip.c_str())};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-S") != 0)
            args.push_back(argv[i]);
    }
    args.push_back(nullptr);
    execv(zip.c_str(), args.data());
    std::fprintf(stderr, "zip: cannot run %s: %s\n", zip.c_str(), std::strerror(errno));
    return kNoRealZip;
}
