#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quorvex {

// Settings files with the semantics of the Windows profile API, our own implementation.
// Section and key names match regardless of case; the first matching section and key win.

// A settings file read once for many values, as a job file is read: each value is exactly
// what GetIniData gives for the same file and key. A file that cannot be read gives defaults.
class IniReader {
public:
    explicit IniReader(const std::string& file);
    ~IniReader();
    IniReader(const IniReader&) = delete;
    IniReader& operator=(const IniReader&) = delete;

    std::string value(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const;
    // The value's leading number (Val), rounded to a 16-bit integer; one out of range is
    // run-time error 6.
    int16_t int16Value(std::string_view section, std::string_view key,
                       std::string_view defaultValue) const;

private:
    struct Parsed;
    std::unique_ptr<const Parsed> m_parsed;
};

// Puts the stored value (at most 255 characters, surrounding blanks and one pair of matching
// quotes removed) or the default into result. Always returns true.
bool GetIniData(std::string_view section, std::string_view key, std::string_view defaultValue,
                std::string& result, const std::string& file);

// Creates the file, section and key as needed, replaces an existing value in place and leaves
// every other line alone. The file is replaced atomically. Returns false when it cannot write.
bool WriteIniData(std::string_view section, std::string_view key, std::string_view value,
                  const std::string& file);

struct IniValue {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// Writes several values as WriteIniData would, one after the other, but replaces the file only
// once: either every value lands or none does, so a crash never leaves half of them new.
// When nothing was written, errno says why (EINVAL for a value the file cannot hold).
bool WriteIniValues(std::span<const IniValue> values, const std::string& file);

} // namespace quorvex
