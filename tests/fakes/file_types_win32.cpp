#include "fakes/file_types_win32.hpp"

#include <gtest/gtest.h>

#include <windows.h>

namespace quorvex::test {

// RegSetValueA makes the key and sets its default value.
void associateExtension(const std::string& extension, const std::string& typeName,
                        const std::string& program)
{
    const std::string command = "\"" + program + "\" \"%1\"";
    EXPECT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, extension.c_str(), REG_SZ, typeName.c_str(), 0),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, (typeName + "\\shell\\open\\command").c_str(), REG_SZ,
                           command.c_str(), 0),
              ERROR_SUCCESS);
}

void removeAssociation(const std::string& extension, const std::string& typeName)
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, typeName.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, extension.c_str());
}

} // namespace quorvex::test
