#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace quorvex {

// Classic run-time error numbers; every failure of the program carries one of them.
namespace err {
inline constexpr int32_t InvalidCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t BadFileName = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t FileExists = 58;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccess = 75;
inline constexpr int32_t PathNotFound = 76;
// Errors the program raises itself are numbered from the object-error base.
inline constexpr int32_t ObjectErrorBase = -2147221504;
} // namespace err

// Source text of errors raised by the run time itself: it names the program.
inline constexpr std::string_view kRuntimeSource = "Quorvex";

// A run-time error: number, source, description and the last system error code.
class RuntimeError : public std::exception {
public:
    RuntimeError(int32_t number, std::string source, std::string description,
                 int32_t lastDllError = 0);

    // An error of the run time with its classic description ("File not found" for 53...).
    static RuntimeError fromNumber(int32_t number);
    // The classic error that stands for an errno value; the errno is kept as the last
    // system error code.
    static RuntimeError fromErrno(int errnoValue);

    int32_t number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }
    int32_t lastDllError() const { return m_lastDllError; }
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    int32_t m_number;
    std::string m_source;
    std::string m_description;
    int32_t m_lastDllError;
};

// The classic description of a run-time error number.
std::string describeError(int32_t number);

// Throws the classic error for the current errno.
[[noreturn]] void throwLastOsError();

} // namespace quorvex
