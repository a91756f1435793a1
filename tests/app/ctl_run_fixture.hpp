#pragma once

#include "execution_test.hpp"
#include "run_quorvexctl.hpp"

#include "platform/paths.hpp"
#include "support/clock.hpp"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quorvex::test {

// "quorvexctl run" as a real process on backup jobs in a temporary application directory that
// holds data/Sales.mdb ("new") and an empty target folder. quorvexctl runs with the real
// clock, as a user would, and so does the test.
class CtlRunFixture : public ExecutionTest {
protected:
    using Files = std::map<std::string, std::string>;

    void SetUp() override
    {
        ExecutionTest::SetUp();
        setClock(nullptr);
        for (const auto& folder : {dir() / "DatabaseJobs", dir() / "data", target()})
            std::filesystem::create_directories(folder);
        writeFile(dir() / "data" / "Sales.mdb", "new");
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
        const std::string sep(1, kPathSeparator);
        writeFile(dir() / "DatabaseJobs" / (name + ".tsk"),
                  "[General]\r\nJobName=" + name + "\r\nJobType=3\r\n[Backup]\r\nDatabaseFile=" +
                      path("data") + sep + source + "\r\nTargetPath=" + target().string() + sep +
                      "\r\nNumberCopies=5\r\n" + more);
    }
    // Runs the jobs by name: the exit status; standard error is kept in m_err.
    int run(std::vector<std::string> names)
    {
        names.insert(names.begin(), "run");
        return quorvexctl(names);
    }
    // quorvexctl with the arguments, on our folder.
    int quorvexctl(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--app-dir", dir().string()});
        const CtlOutcome outcome = runQuorvexctl(args, dir());
        m_err = outcome.err;
        return outcome.status;
    }

    std::string m_err;
};

} // namespace quorvex::test
