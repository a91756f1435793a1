#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace quorvex::test {

// Documents whose names end in the extension (".mdb") open with the program, registered under
// the type name in the registry of the system (or Wine prefix) the tests run in. RegSetValueA
// makes a key and sets its default value.
inline void associateExtension(const std::string& extension, const std::string& typeName,
                               const std::string& program)
{
    const std::string command = "\"" + program + "\" \"%1\"";
    EXPECT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, extension.c_str(), REG_SZ, typeName.c_str(), 0),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, (typeName + "\\shell\\open\\command").c_str(), REG_SZ,
                           command.c_str(), 0),
              ERROR_SUCCESS);
}

// Removes what associateExtension registered.
inline void removeAssociation(const std::string& extension, const std::string& typeName)
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, typeName.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, extension.c_str());
}

} // namespace quorvex::test
