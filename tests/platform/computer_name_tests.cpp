#include "platform/computer_name.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace quorvex {
namespace {

TEST(ComputerName, IsTheKernelsHostName)
{
    std::ifstream kernel("/proc/sys/kernel/hostname");
    std::string expected;
    std::getline(kernel, expected);
    EXPECT_FALSE(computerName().empty());
    EXPECT_EQ(computerName(), expected);
}

} // namespace
} // namespace quorvex
