#include "support/ini_file.hpp"

#include "platform/file_system.hpp"
#include "support/error_handler.hpp"
#include "support/numeric.hpp"
#include "support/strings.hpp"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace quorvex {

namespace {

// The profile API reads a value into a buffer of 256 characters, NUL included.
constexpr size_t kMaxValueLength = 255;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One line of the file as byte offsets: its text runs from begin to textEnd, its line end
// ("\r\n", "\n" or nothing on an unterminated last line) from textEnd to end.
struct LineSpan {
    size_t begin;
    size_t textEnd;
    size_t end;
};

std::vector<LineSpan> splitLines(std::string_view content)
{
    std::vector<LineSpan> lines;
    size_t begin = 0;
    while (begin < content.size()) {
        const size_t newline = content.find('\n', begin);
        if (newline == std::string_view::npos) {
            lines.push_back({begin, content.size(), content.size()});
            break;
        }
        const size_t textEnd =
            (newline > begin && content[newline - 1] == '\r') ? newline - 1 : newline;
        lines.push_back({begin, textEnd, newline + 1});
        begin = newline + 1;
    }
    return lines;
}

// New lines get the line end the file already uses; a new file gets CR LF.
std::string_view lineEndOf(std::string_view content)
{
    const size_t newline = content.find('\n');
    if (newline != std::string_view::npos && (newline == 0 || content[newline - 1] != '\r'))
        return "\n";
    return "\r\n";
}

std::optional<std::string_view> sectionHeader(std::string_view line)
{
    line = trimBlanksAndTabs(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimBlanksAndTabs(line.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

// "key = value"; comments (";") and lines without "=" are no entries.
std::optional<Entry> entry(std::string_view line)
{
    line = trimBlanksAndTabs(line);
    if (line.empty() || line.front() == ';')
        return std::nullopt;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = trimBlanksAndTabs(line.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return Entry{key, trimBlanksAndTabs(line.substr(equals + 1))};
}

// Where a key stands in a file: the first section of that name, and in it the first entry of
// that name; lastEntry is the line a new entry goes after (the header when there is none).
struct Location {
    std::optional<size_t> header;
    std::optional<size_t> entry;
    size_t lastEntry = 0;
};

class IniText {
public:
    explicit IniText(std::string_view content) : m_content(content), m_lines(splitLines(content)) {}

    std::string_view text(size_t line) const
    {
        std::string_view text =
            m_content.substr(m_lines[line].begin, m_lines[line].textEnd - m_lines[line].begin);
        if (line == 0 && text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            text.remove_prefix(kUtf8Bom.size());
        return text;
    }

    const LineSpan& span(size_t line) const { return m_lines[line]; }

    Location find(std::string_view section, std::string_view key) const
    {
        Location where;
        for (size_t i = 0; i < m_lines.size(); ++i) {
            if (const auto name = sectionHeader(text(i))) {
                if (where.header)
                    break;
                if (equalsNoCase(*name, section))
                    where.header = where.lastEntry = i;
                continue;
            }
            if (!where.header)
                continue;
            if (const auto found = entry(text(i))) {
                where.lastEntry = i;
                if (equalsNoCase(found->key, key)) {
                    where.entry = i;
                    break;
                }
            }
        }
        return where;
    }

private:
    std::string_view m_content;
    std::vector<LineSpan> m_lines;
};

std::string_view withoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Names and values that would break the file's line structure are refused rather than
// written half-way: a line break would smuggle in new lines, "=" or "]" would shift the
// key or the section.
bool isWritable(std::string_view section, std::string_view key, std::string_view value)
{
    constexpr std::string_view kLineBreaks("\r\n\0", 3);
    if (section.empty() || key.empty())
        return false;
    if (section.find_first_of(kLineBreaks) != std::string_view::npos ||
        key.find_first_of(kLineBreaks) != std::string_view::npos ||
        value.find_first_of(kLineBreaks) != std::string_view::npos)
        return false;
    return section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
           key.front() != '[' && key.front() != ';';
}

std::string withValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value)
{
    const IniText ini(content);
    const Location where = ini.find(section, key);
    std::string result(content);
    const std::string_view eol = lineEndOf(content);

    if (where.entry) {
        const LineSpan& line = ini.span(*where.entry);
        const std::string_view storedKey = entry(ini.text(*where.entry))->key;
        std::string replaced(storedKey);
        replaced.append("=").append(value);
        // Whatever stands before the key (indentation, a BOM) stays as it is.
        const auto keyStart = static_cast<size_t>(storedKey.data() - content.data());
        result.replace(keyStart, line.textEnd - keyStart, replaced);
        return result;
    }
    std::string added(key);
    added.append("=").append(value);
    if (where.header) {
        const LineSpan& after = ini.span(where.lastEntry);
        if (after.textEnd == after.end)
            result.insert(after.end, std::string(eol).append(added));
        else
            result.insert(after.end, added.append(eol));
        return result;
    }
    if (!result.empty() && result.back() != '\n')
        result.append(eol);
    result.append("[").append(section).append("]").append(eol).append(added).append(eol);
    return result;
}

bool writeIni(std::span<const IniValue> values, const std::string& file)
{
    for (const IniValue& v : values)
        if (!isWritable(trimBlanksAndTabs(v.section), trimBlanksAndTabs(v.key), v.value)) {
            errno = EINVAL;
            return false;
        }

    // A symbolic link is followed, so the link stays and its target gets the new content.
    const std::string path = resolvedPath(file);

    std::string content;
    if (const int refusal = writableFileCheck(path); refusal == 0) {
        auto existing = readPlainFile(path);
        if (!existing)
            return false;
        content = std::move(*existing);
    } else if (refusal != ENOENT) {
        errno = refusal;
        return false;
    }
    for (const IniValue& v : values)
        content =
            withValue(content, trimBlanksAndTabs(v.section), trimBlanksAndTabs(v.key), v.value);
    return replaceFileContent(path, content);
}

} // namespace

struct IniReader::Parsed {
    explicit Parsed(std::string text) : content(std::move(text)), ini(content) {}
    const std::string content;
    const IniText ini; // views into content
};

IniReader::IniReader(const std::string& file)
{
    if (auto content = readPlainFile(file))
        m_parsed = std::make_unique<const Parsed>(std::move(*content));
}

IniReader::~IniReader() = default;

std::string IniReader::value(std::string_view section, std::string_view key,
                             std::string_view defaultValue) const
{
    std::string_view value = defaultValue;
    if (m_parsed) {
        const IniText& ini = m_parsed->ini;
        const Location where = ini.find(trimBlanksAndTabs(section), trimBlanksAndTabs(key));
        if (where.entry)
            value = withoutQuotes(entry(ini.text(*where.entry))->value);
    }
    // A value ends at a NUL, as the profile API's C strings do, and at a lone carriage
    // return, which it takes for the end of a line. So whatever is read can be written
    // back: the writer refuses both in a value.
    value = value.substr(0, value.find_first_of(std::string_view("\0\r", 2)));
    return std::string(firstCharacters(value, kMaxValueLength));
}

int16_t IniReader::int16Value(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const
{
    return toInt16(Val(value(section, key, defaultValue)));
}

bool GetIniData(std::string_view section, std::string_view key, std::string_view defaultValue,
                std::string& result, const std::string& file)
{
    return trapFatal("libAPIWrapper.bas", "GetIniData()", [&] {
        result = IniReader(file).value(section, key, defaultValue);
        return true;
    });
}

bool WriteIniData(std::string_view section, std::string_view key, std::string_view value,
                  const std::string& file)
{
    return trapFatal("libAPIWrapper.bas", "WriteIniData()", [&] {
        const IniValue one[] = {{section, key, value}};
        return writeIni(one, file);
    });
}

bool WriteIniValues(std::span<const IniValue> values, const std::string& file)
{
    return trapFatal("libAPIWrapper.bas", "WriteIniData()", [&] { return writeIni(values, file); });
}

} // namespace quorvex
