#pragma once

#include <string>

namespace quorvex::test {

// Documents whose names end in the extension (".mdb") open with the program, registered under
// the type name in the registry of the system (or Wine prefix) the tests run in.
void associateExtension(const std::string& extension, const std::string& typeName,
                        const std::string& program);
// Removes what associateExtension registered.
void removeAssociation(const std::string& extension, const std::string& typeName);

} // namespace quorvex::test
