#include "platform/process.hpp"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quorvex {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads one word starting at pos (not a blank) and leaves pos behind it.
std::string readWord(std::string_view text, size_t& pos)
{
    std::string word;
    bool quoted = false;
    while (pos < text.size() && (quoted || !isBlank(text[pos]))) {
        const char c = text[pos];
        if (c == '\\') {
            size_t end = text.find_first_not_of('\\', pos);
            if (end == std::string_view::npos)
                end = text.size();
            const size_t count = end - pos;
            const bool beforeQuote = end < text.size() && text[end] == '"';
            word.append(beforeQuote ? count / 2 : count, '\\');
            pos = end;
            if (beforeQuote && count % 2 == 1) {
                word += '"';
                ++pos;
            }
        } else if (c == '"') {
            if (quoted && pos + 1 < text.size() && text[pos + 1] == '"') {
                word += '"';
                pos += 2;
            } else {
                quoted = !quoted;
                ++pos;
            }
        } else {
            word += c;
            ++pos;
        }
    }
    return word;
}

bool isExistingFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

} // namespace

std::vector<std::string> splitArguments(std::string_view text)
{
    std::vector<std::string> words;
    size_t pos = 0;
    for (;;) {
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        if (pos == text.size())
            return words;
        words.push_back(readWord(text, pos));
    }
}

std::optional<std::string> locateProgramFile(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos)
        return isExistingFile(name) ? std::optional(name) : std::nullopt;
    const char* searchPath = std::getenv("PATH");
    std::string_view folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? "" : folders.substr(colon + 1);
        if (folder.empty())
            continue;
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (isExistingFile(candidate))
            return candidate.string();
    }
    return std::nullopt;
}

std::vector<std::string> splitCommandLine(std::string_view commandLine)
{
    size_t start = 0;
    while (start < commandLine.size() && isBlank(commandLine[start]))
        ++start;
    std::string_view text = commandLine.substr(start);
    if (text.empty())
        return {};

    std::string program;
    size_t rest;
    if (text.front() == '"') {
        const size_t close = text.find('"', 1);
        program = std::string(text.substr(1, close == std::string_view::npos ? close : close - 1));
        rest = close == std::string_view::npos ? text.size() : close + 1;
    } else {
        // Try each prefix that ends before a blank, shortest first, then the whole text.
        size_t end = 0;
        while (program.empty() && end != std::string_view::npos) {
            end = text.find_first_of(" \t", end);
            const std::string candidate(text.substr(0, end));
            if (locateProgramFile(candidate))
                program = candidate;
            else if (end != std::string_view::npos)
                end = text.find_first_not_of(" \t", end);
        }
        if (program.empty())
            program = std::string(text.substr(0, text.find_first_of(" \t")));
        rest = program.size();
    }

    std::vector<std::string> argv{program};
    for (std::string& word : splitArguments(text.substr(rest)))
        argv.push_back(std::move(word));
    return argv;
}

} // namespace quorvex
