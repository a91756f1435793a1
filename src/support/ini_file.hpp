#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quorvex {

// Settings files with the semantics of the Windows profile API, our own implementation.
// Section and key names match regardless of case; the first matching section and key win.

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
