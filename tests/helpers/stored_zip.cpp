// Stands in for Info-ZIP's zip.exe in the program folder of a Windows build, which has no
// real one to test with. It takes the two command lines the backup gives:
//   zip -S -v -n .zip ARCHIVE FILE   writes ARCHIVE with FILE stored in it (the backup always
//                                    names a new one)
//   zip -T ARCHIVE                   reads the member back against its checksum
// The member is named by the path, with "/" between folders as in Info-ZIP's names (which also
// lose the drive). The exit codes are Info-ZIP's: 8 a failed test, 15 no archive could be
// written, 16 a command line it does not take.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr int kTestFailed = 8;
constexpr int kCannotWrite = 15;
constexpr int kBadCommandLine = 16;

// 2 January 1980 at noon, the date in the high half: the tests ask nothing of it.
constexpr uint32_t kDosTime = (1u << 5 | 2u) << 16 | 12u << 11;

// Bit by bit: the archives of the tests are small.
uint32_t crc32(std::string_view data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

// Little-endian fields, each a value and its size in bytes.
std::string fields(std::initializer_list<std::pair<uint32_t, int>> values)
{
    std::string out;
    for (auto [value, size] : values)
        for (int i = 0; i < size; ++i, value >>= 8)
            out += static_cast<char>(value & 0xFF);
    return out;
}

std::string readWhole(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The archive of one stored member.
std::string archiveOf(const std::string& name, const std::string& data)
{
    const auto size = static_cast<uint32_t>(data.size());
    // Both headers share the fields from the version needed (1.0: stored) to the name's length:
    // no flags, method 0 (stored), time, checksum, both sizes.
    const auto nameSize = static_cast<uint32_t>(name.size());
    const std::string shared = fields({{10, 2}, {0, 4}, {kDosTime, 4}, {crc32(data), 4}}) +
                               fields({{size, 4}, {size, 4}, {nameSize, 2}});
    // The local header (its signature, the shared fields, no extra field), name and data.
    const std::string local = fields({{0x04034b50, 4}}) + shared + fields({{0, 2}}) + name + data;
    // The central header: made by MS-DOS, version 2.0; no extra field or comment, disk 0, no
    // attributes, the local header at offset 0.
    const std::string central =
        fields({{0x02014b50, 4}, {20, 2}}) + shared + std::string(16, '\0') + name;
    // The end record: disk 0, one member on it and in all, the directory's size and offset, no
    // comment.
    const std::string end =
        fields({{0x06054b50, 4}, {0, 4}, {1, 2}, {1, 2}}) +
        fields({{uint32_t(central.size()), 4}, {uint32_t(local.size()), 4}, {0, 2}});
    return local + central + end;
}

int writeArchive(const std::filesystem::path& archive, const std::string& file)
{
    std::string name = file;
    std::replace(name.begin(), name.end(), '\\', '/');
    const std::string bytes = archiveOf(name, readWhole(file));
    return std::ofstream(archive, std::ios::binary) << bytes ? 0 : kCannotWrite;
}

// Reads the member back: the archive must be the very one that its name and data make, the
// checksum included. The headers and the end record take 98 bytes, the name is there twice.
int testArchive(const std::filesystem::path& archive)
{
    const std::string bytes = readWhole(archive);
    if (bytes.size() < 98)
        return kTestFailed;
    const size_t nameSize = static_cast<uint8_t>(bytes[26]) | static_cast<uint8_t>(bytes[27]) << 8;
    if (bytes.size() < 98 + 2 * nameSize)
        return kTestFailed;
    const std::string data = bytes.substr(30 + nameSize, bytes.size() - 98 - 2 * nameSize);
    return bytes == archiveOf(bytes.substr(30, nameSize), data) ? 0 : kTestFailed;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "-T")
        return testArchive(args[1]);
    if (args.size() == 6 && std::vector(args.begin(), args.begin() + 4) ==
                                std::vector<std::string>{"-S", "-v", "-n", ".zip"})
        return writeArchive(args[4], args[5]);
    return kBadCommandLine;
}
