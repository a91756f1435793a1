#include "platform/program_file.hpp"

#include <filesystem>

namespace quorvex {

std::string runningProgramFile()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

} // namespace quorvex
