#pragma once

#include "fakes/test_environment.hpp"
#include "recording_display.hpp"
#include "support/transaction_log.hpp"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace quorvex::test {

// An application directory for running jobs: the transaction log read back line by line, and
// the programs and files that live beside ours copied in on demand.
class ExecutionTest : public AppDirTest {
protected:
    // The messages of the transaction log, without their time stamps ("mm/dd/yyyy hh:mm:ss"
    // and two blanks) and their CR LF.
    static std::vector<std::string> logMessages()
    {
        std::istringstream log(readFile(transactionLogPath()));
        std::vector<std::string> messages;
        for (std::string line; std::getline(log, line);)
            messages.push_back(line.substr(21, line.size() - 22));
        return messages;
    }
    // Copies a file of the built application directory (zip, TestForAccess.mdb) into ours.
    void installFromBuild(const std::string& name) const
    {
        std::filesystem::copy_file(builtAppDir() / name, dir() / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    // Creates the folders on the way and writes the file.
    static void putFile(const std::filesystem::path& path, const std::string& content)
    {
        std::filesystem::create_directories(path.parent_path());
        writeFile(path, content);
    }
    // What "unzip -l" lists of an archive.
    static std::string zipMembers(const std::filesystem::path& archive)
    {
        const std::string command = "unzip -l '" + archive.string() + "'";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
        std::string output;
        std::array<char, 4096> buffer{};
        for (size_t n; pipe && (n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
            output.append(buffer.data(), n);
        return output;
    }

    RecordingDisplay m_display;
};

} // namespace quorvex::test
