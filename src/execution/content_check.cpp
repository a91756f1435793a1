#include "execution/content_check.hpp"

#include "support/error.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace quorvex {

namespace {

constexpr size_t kBlock = 1 << 20;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File openForReading(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        throwLastOsError();
    return file;
}

size_t readBlock(std::FILE* file, std::vector<char>& buffer)
{
    const size_t read = std::fread(buffer.data(), 1, buffer.size(), file);
    if (read < buffer.size() && std::ferror(file))
        throwLastOsError();
    return read;
}

} // namespace

bool sameContent(const std::string& a, const std::string& b)
{
    const File first = openForReading(a);
    const File second = openForReading(b);
    std::vector<char> left(kBlock);
    std::vector<char> right(kBlock);
    for (;;) {
        const size_t got = readBlock(first.get(), left);
        if (got != readBlock(second.get(), right) ||
            std::memcmp(left.data(), right.data(), got) != 0)
            return false;
        if (got < kBlock)
            return true;
    }
}

} // namespace quorvex
