#include "execution_test.hpp"

#include "support/transaction_log.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace quorvex::test {

namespace {
// "mm/dd/yyyy hh:mm:ss" and two blanks.
constexpr size_t kStampWidth = 21;
} // namespace

std::vector<std::string> ExecutionTest::logMessages() const
{
    const std::string text = readFile(transactionLogPath());
    std::vector<std::string> messages;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        messages.push_back(text.substr(start + kStampWidth, end - start - kStampWidth));
    return messages;
}

void ExecutionTest::installFromBuild(const std::string& name) const
{
    namespace fs = std::filesystem;
    fs::copy_file(builtAppDir() / name, dir() / name, fs::copy_options::overwrite_existing);
}

void ExecutionTest::putFile(const std::filesystem::path& path, const std::string& content)
{
    std::filesystem::create_directories(path.parent_path());
    writeFile(path, content);
}

std::vector<std::string> ExecutionTest::listing(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ExecutionTest::outputOf(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string output;
    std::array<char, 4096> buffer{};
    for (size_t n; pipe && (n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
        output.append(buffer.data(), n);
    return output;
}

} // namespace quorvex::test
