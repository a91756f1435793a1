#pragma once

#include "fakes/test_environment.hpp"
#include "recording_display.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace quorvex::test {

// An application directory for running jobs: the transaction log read back line by line, and
// the programs and files that live beside ours copied in on demand.
class ExecutionTest : public AppDirTest {
protected:
    // The messages of the transaction log, without their time stamps.
    std::vector<std::string> logMessages() const;
    // Copies a file of the built application directory (zip, TestForAccess.mdb) into ours.
    void installFromBuild(const std::string& name) const;
    // Creates the folders on the way and writes the file.
    static void putFile(const std::filesystem::path& path, const std::string& content);
    // The names in a folder, sorted.
    static std::vector<std::string> listing(const std::filesystem::path& folder);
    // What a program printed on its standard output.
    static std::string outputOf(const std::string& command);

    RecordingDisplay m_display;
};

} // namespace quorvex::test
