#pragma once

#include "execution_test.hpp"
#include "run_quorvexctl.hpp"

#include "platform/paths.hpp"
#include "support/clock.hpp"
#include "support/date_text.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quorvex::test {

using Files = std::map<std::string, std::string>;

// "quorvexctl run" as a real process on backup jobs in a temporary application directory.
class CtlRunTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        // quorvexctl runs with the real clock, as a user would, and so does the test.
        setClock(nullptr);
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
    // quorvexctl on our folder: the exit status; standard error is kept in m_err.
    int quorvexctl(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--app-dir", dir().string()});
        const CtlOutcome outcome = runQuorvexctl(args, dir());
        m_err = outcome.err;
        return outcome.status;
    }
    // As if the previous due-job check had been at that moment.
    void checkedAt(DateTime moment)
    {
        writeFile(path("DueCheck.ini"),
                  "[DueCheck]\r\nLastCheck=" + formatLogStamp(moment) + "\r\n");
    }

    std::string m_err;
};

} // namespace quorvex::test
