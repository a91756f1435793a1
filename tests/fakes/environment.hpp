#pragma once

#include <string>

namespace quorvex::test {

// Sets or removes a variable of this process's environment, which programs it starts inherit.
void setEnvironment(const std::string& name, const std::string& value);
void unsetEnvironment(const std::string& name);

} // namespace quorvex::test
