#include "run_quorvexctl.hpp"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace quorvex::test {

namespace {

// A file the started program writes its output to; the handle is inherited.
HANDLE outputFile(const std::filesystem::path& path)
{
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA(path.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

CtlOutcome runQuorvexctl(const std::vector<std::string>& args,
                         const std::filesystem::path& scratchDir, const std::string& workDir)
{
    std::string command = "\"" + std::string(QUORVEXCTL_PATH) + "\"";
    for (const auto& arg : args)
        command += " \"" + arg + "\"";
    const auto out = scratchDir / "out.txt";
    const auto err = scratchDir / "err.txt";
    const HANDLE outFile = outputFile(out);
    const HANDLE errFile = outputFile(err);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outFile;
    startup.hStdError = errFile;
    PROCESS_INFORMATION started{};
    int status = -1;
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       workDir.empty() ? nullptr : workDir.c_str(), &startup, &started)) {
        WaitForSingleObject(started.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(started.hProcess, &code))
            status = static_cast<int>(code);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    CloseHandle(outFile);
    CloseHandle(errFile);
    const auto read = [](const std::filesystem::path& file) {
        std::ostringstream text;
        text << std::ifstream(file).rdbuf(); // text mode: "\r\n" reads as "\n"
        return text.str();
    };
    return {status, read(out), read(err)};
}

} // namespace quorvex::test
