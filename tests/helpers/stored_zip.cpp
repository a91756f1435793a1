// Stands in for Info-ZIP's zip.exe in the program folder of a Windows build, which has no
// real one to test with. It understands the two command lines the backup gives:
//   zip -S -v -n .zip ARCHIVE FILE   adds FILE to ARCHIVE (made when missing), replacing a
//                                    member of the same name; the other options are taken
//                                    and ignored
//   zip -T ARCHIVE                   reads every member back against its checksum
// Members are stored, never compressed, under the file's path without its drive and leading
// separators and with "/" between folders, as Info-ZIP names them. The exit codes are
// Info-ZIP's: 8 a failed test, 12 nothing to do, 13 no archive, 15 no archive could be
// written, 16 a command line it does not take, 18 a file that could not be read.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kTestFailed = 8;
constexpr int kNothingToDo = 12;
constexpr int kNoArchive = 13;
constexpr int kCannotWrite = 15;
constexpr int kBadCommandLine = 16;
constexpr int kUnreadableFile = 18;

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kEndRecord = 0x06054b50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;

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

uint32_t readNumber(std::string_view bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes.at(at + static_cast<size_t>(i)));
    return value;
}

void appendNumber(std::string& out, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i, value >>= 8)
        out += static_cast<char>(value & 0xFF);
}

// One member: its name, the header fields both directory records share, and its data as it
// is stored.
struct Member {
    std::string name;
    uint16_t method = 0;
    uint32_t dosTime = 0;
    uint32_t crc = 0;
    uint32_t size = 0;
    std::string data;
};

// The part of both headers from the version needed to the name's length.
std::string sharedFields(const Member& member)
{
    std::string out;
    appendNumber(out, 10, 2); // version needed: stored members
    appendNumber(out, 0, 2);  // flags
    appendNumber(out, member.method, 2);
    appendNumber(out, member.dosTime, 4);
    appendNumber(out, member.crc, 4);
    appendNumber(out, static_cast<uint32_t>(member.data.size()), 4);
    appendNumber(out, member.size, 4);
    appendNumber(out, static_cast<uint32_t>(member.name.size()), 2);
    return out;
}

std::optional<std::string> readWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return content;
}

// The members of an archive through its central directory; nothing when it is no archive.
std::optional<std::vector<Member>> readArchive(std::string_view bytes)
{
    if (bytes.size() < kEndRecordSize)
        return std::nullopt;
    const size_t end = bytes.size() - kEndRecordSize;
    if (readNumber(bytes, end, 4) != kEndRecord)
        return std::nullopt;
    std::vector<Member> members(readNumber(bytes, end + 10, 2));
    try {
        size_t at = readNumber(bytes, end + 16, 4);
        for (Member& member : members) {
            if (readNumber(bytes, at, 4) != kCentralHeader)
                return std::nullopt;
            member.method = static_cast<uint16_t>(readNumber(bytes, at + 10, 2));
            member.dosTime = readNumber(bytes, at + 12, 4);
            member.crc = readNumber(bytes, at + 16, 4);
            const uint32_t stored = readNumber(bytes, at + 20, 4);
            member.size = readNumber(bytes, at + 24, 4);
            const size_t nameLength = readNumber(bytes, at + 28, 2);
            member.name = std::string(bytes.substr(at + kCentralHeaderSize, nameLength));
            const size_t local = readNumber(bytes, at + 42, 4);
            if (readNumber(bytes, local, 4) != kLocalHeader)
                return std::nullopt;
            const size_t data = local + kLocalHeaderSize + readNumber(bytes, local + 26, 2) +
                                readNumber(bytes, local + 28, 2);
            if (data + stored > bytes.size())
                return std::nullopt;
            member.data = std::string(bytes.substr(data, stored));
            at += kCentralHeaderSize + nameLength + readNumber(bytes, at + 30, 2) +
                  readNumber(bytes, at + 32, 2);
        }
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
    return members;
}

std::string archiveBytes(const std::vector<Member>& members)
{
    std::string out;
    std::string directory;
    for (const Member& member : members) {
        const auto offset = static_cast<uint32_t>(out.size());
        appendNumber(out, kLocalHeader, 4);
        out += sharedFields(member);
        appendNumber(out, 0, 2); // extra field
        out += member.name;
        out += member.data;
        appendNumber(directory, kCentralHeader, 4);
        appendNumber(directory, 20, 2); // made by: MS-DOS attributes, version 2.0
        directory += sharedFields(member);
        appendNumber(directory, 0, 8);    // extra, comment, disk, internal attributes
        appendNumber(directory, 0x20, 4); // external attributes: archive
        appendNumber(directory, offset, 4);
        directory += member.name;
    }
    const auto count = static_cast<uint32_t>(members.size());
    const auto directoryOffset = static_cast<uint32_t>(out.size());
    out += directory;
    appendNumber(out, kEndRecord, 4);
    appendNumber(out, 0, 4); // disks
    appendNumber(out, count, 2);
    appendNumber(out, count, 2);
    appendNumber(out, static_cast<uint32_t>(directory.size()), 4);
    appendNumber(out, directoryOffset, 4);
    appendNumber(out, 0, 2); // comment
    return out;
}

// The member name Info-ZIP gives a path: no drive, no leading separators, "/" between folders.
std::string memberName(std::string path)
{
    if (path.size() >= 2 && path[1] == ':')
        path.erase(0, 2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path.substr(std::min(path.find_first_not_of('/'), path.size()));
}

// One classic date and time for every member, 2 January 1980 at noon (the date in the high
// half): the tests ask nothing of it.
constexpr uint32_t kDosTime = (1u << 5 | 2u) << 16 | 12u << 11;

int addFile(const fs::path& archive, const std::string& file)
{
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return kNothingToDo;
    std::vector<Member> members;
    if (fs::exists(archive, error)) {
        const auto bytes = readWhole(archive);
        auto existing = bytes ? readArchive(*bytes) : std::nullopt;
        if (!existing)
            return kNoArchive;
        members = std::move(*existing);
    }
    const auto data = readWhole(file);
    if (!data || data->size() > UINT32_MAX)
        return kUnreadableFile;
    Member added{
        memberName(file), 0, kDosTime, crc32(*data), static_cast<uint32_t>(data->size()), *data};
    std::erase_if(members, [&](const Member& m) { return m.name == added.name; });
    members.push_back(std::move(added));
    // Written beside the archive and renamed over it, as Info-ZIP does.
    const fs::path temporary = archive.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << archiveBytes(members);
        if (!out.flush()) {
            fs::remove(temporary, error);
            return kCannotWrite;
        }
    }
    fs::rename(temporary, archive, error);
    if (error) {
        fs::remove(temporary, error);
        return kCannotWrite;
    }
    return 0;
}

int testArchive(const fs::path& archive)
{
    const auto bytes = readWhole(archive);
    if (!bytes)
        return kNoArchive;
    const auto members = readArchive(*bytes);
    if (!members || members->empty())
        return kTestFailed;
    for (const Member& member : *members) {
        if (member.method != 0 || member.data.size() != member.size ||
            crc32(member.data) != member.crc)
            return kTestFailed;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> names;
    bool test = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-T")
            test = true;
        else if (arg == "-n" && i + 1 < argc)
            ++i; // the suffixes not to compress: nothing is
        else if (arg == "-S" || arg == "-v")
            continue;
        else if (arg.starts_with('-'))
            return kBadCommandLine;
        else
            names.emplace_back(arg);
    }
    if (test)
        return names.size() == 1 ? testArchive(names[0]) : kBadCommandLine;
    return names.size() == 2 ? addFile(names[0], names[1]) : kBadCommandLine;
}
