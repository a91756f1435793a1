#pragma once

#include "execution_test.hpp"

#include "platform/paths.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace quorvex::test {

using Files = std::map<std::string, std::string>;

// The quorvexctl commands called in process on backup jobs in a temporary data folder, on the
// fixed clock (Saturday, Dec 5 2026, 10:00). The test program lies in the program folder, so
// the backups start the zip beside the programs.
class CtlTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        putFile(path("data/Sales.mdb"), "new");
        putFile(path("data/System.mdw"), "workgroup");
        std::filesystem::create_directories(target());
    }

    std::filesystem::path target() const { return dir() / "backup"; }
    // Every file of the target folder with its content.
    Files targetFiles() const
    {
        Files files;
        for (const auto& entry : std::filesystem::directory_iterator(target()))
            files[entry.path().filename().string()] = readFile(entry.path());
        return files;
    }
    // A backup job of a file of the data folder into the target, keeping five older copies.
    void addJob(const std::string& name, const std::string& source,
                const std::string& more = "Compress=0\r\n")
    {
        putFile(path("DatabaseJobs/" + name + ".tsk"),
                "[General]\r\nJobName=" + name + "\r\nJobType=3\r\n[Backup]\r\nDatabaseFile=" +
                    path("data/" + source) + "\r\nTargetPath=" + target().string() +
                    kPathSeparator + "\r\nNumberCopies=5\r\n" + more);
    }
    // The command on our data folder (unless the arguments name another one): its exit
    // status; what it printed is kept in m_out and m_err.
    int ctl(int (*command)(std::span<char* const>), std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--app-dir", dir().string()});
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = command(argv);
        m_out = ::testing::internal::GetCapturedStdout();
        m_err = ::testing::internal::GetCapturedStderr();
        return status;
    }

    std::string m_out;
    std::string m_err;
};

} // namespace quorvex::test
