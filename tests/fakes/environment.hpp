#pragma once

#include <optional>
#include <string>

namespace quorvex::test {

// Sets a variable of this process's environment, which programs it starts inherit; nothing
// removes it.
void setEnvironment(const std::string& name, const std::optional<std::string>& value);

} // namespace quorvex::test
