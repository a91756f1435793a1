#pragma once

#include "execution/status_display.hpp"
#include "fakes/test_environment.hpp"
#include "fakes/text_lines.hpp"
#include "support/error.hpp"
#include "support/transaction_log.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::test {

// A status display that remembers every text it was given; the lights as a picture: "1001"
// is idle, "0110" running. Given failFrom, it fails from the first text that begins with it on,
// as an error of the program itself (not of the files a job works on) would.
struct RecordingDisplay final : StatusDisplay {
    void setMessageText(const std::string& text) override
    {
        if (failFrom && text.starts_with(*failFrom))
            throw RuntimeError::fromNumber(err::PathFileAccess);
        texts.push_back(text);
    }
    void setLightVisible(int index, bool visible) override
    {
        lights.at(static_cast<size_t>(index)) = visible ? '1' : '0';
    }
    void refresh() override {}

    std::vector<std::string> texts;
    std::string lights = std::string(kLightCount, '0');
    std::optional<std::string> failFrom;
};

// An application directory for running jobs: the transaction log read back line by line, and
// the programs and files that live beside ours copied in on demand.
class ExecutionTest : public AppDirTest {
protected:
    // The messages of the transaction log, without their time stamps ("mm/dd/yyyy hh:mm:ss"
    // and two blanks) and their CR LF.
    static std::vector<std::string> logMessages()
    {
        std::vector<std::string> messages;
        for (const std::string& line : linesOf(readFile(transactionLogPath())))
            messages.push_back(line.substr(21));
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

    RecordingDisplay m_display;
};

} // namespace quorvex::test
