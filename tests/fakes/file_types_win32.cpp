#include "fakes/file_types_win32.hpp"

#include <gtest/gtest.h>

#include <windows.h>

namespace quorvex::test {

namespace {

// Sets a key's default value, creating the key.
void setDefault(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS)
        << key;
    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
}

} // namespace

void associateExtension(const std::string& extension, const std::string& typeName,
                        const std::string& program)
{
    setDefault(extension, typeName);
    setDefault(typeName + "\\shell\\open\\command", "\"" + program + "\" \"%1\"");
}

void removeAssociation(const std::string& extension, const std::string& typeName)
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, typeName.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, extension.c_str());
}

} // namespace quorvex::test
