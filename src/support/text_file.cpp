#include "support/text_file.hpp"

#include "support/error.hpp"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace quorvex {

void appendCrLfLines(const std::string& path, std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines)
        text.append(line).append("\r\n");

    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "ab"), &std::fclose);
    if (!file)
        throwLastOsError();
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
        throwLastOsError();
    if (std::fclose(file.release()) != 0)
        throwLastOsError();
}

} // namespace quorvex
