#pragma once

#include "execution_test.hpp"

#include "platform/paths.hpp"
#include "support/date_text.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace quorvex::test {

using Files = std::map<std::string, std::string>;
using Command = int (*)(std::span<char* const>);

// The quorvexctl commands called in process on backup jobs in a temporary data folder, on the
// fixed clock (Saturday, Dec 5 2026, 10:00). The test program lies in the program folder, so
// the zip the backups start is the one beside the programs.
class CtlTest : public ExecutionTest {
protected:
    void SetUp() override
    {
        ExecutionTest::SetUp();
        putFile(path("data/Sales.mdb"), "new");
        putFile(path("data/System.mdw"), "workgroup");
        std::filesystem::create_directories(target());
        std::filesystem::create_directories(path("DatabaseJobs"));
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
        writeFile(path("DatabaseJobs/" + name + ".tsk"),
                  "[General]\r\nJobName=" + name + "\r\nJobType=3\r\n[Backup]\r\nDatabaseFile=" +
                      path("data/" + source) + "\r\nTargetPath=" + target().string() +
                      kPathSeparator + "\r\nNumberCopies=5\r\n" + more);
    }
    // The command on the data folder given (ours by default): its exit status; what it printed
    // is kept in m_out and m_err.
    int ctl(Command command, std::vector<std::string> args, const std::string& appDir = {})
    {
        args.insert(args.end(), {"--app-dir", appDir.empty() ? dir().string() : appDir});
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        std::ostringstream out, err;
        const Caught caughtOut(std::cout, out), caughtErr(std::cerr, err);
        const int status = command(argv);
        m_out = out.str();
        m_err = err.str();
        return status;
    }
    // As if the previous due-job check had been at that moment.
    void checkedAt(DateTime moment)
    {
        writeFile(path("DueCheck.ini"),
                  "[DueCheck]\r\nLastCheck=" + formatLogStamp(moment) + "\r\n");
    }
    // The log line that opens a job's run.
    static std::string runHeader(const std::string& name)
    {
        std::string header = "-- " + name + " ";
        header.resize(64, '-');
        return header;
    }

    std::string m_out;
    std::string m_err;

private:
    // A stream's output goes to the text stream while this lives.
    struct Caught {
        Caught(std::ostream& stream, std::ostream& into)
            : stream(stream), saved(stream.rdbuf(into.rdbuf()))
        {
        }
        ~Caught() { stream.rdbuf(saved); }
        std::ostream& stream;
        std::streambuf* saved;
    };
};

} // namespace quorvex::test
