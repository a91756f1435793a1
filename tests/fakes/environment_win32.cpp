#include "fakes/environment.hpp"

#include <cstdlib>

namespace quorvex::test {

void setEnvironment(const std::string& name, const std::string& value)
{
    _putenv_s(name.c_str(), value.c_str());
}

// An empty value is how the C runtime removes a variable.
void unsetEnvironment(const std::string& name)
{
    _putenv_s(name.c_str(), "");
}

} // namespace quorvex::test
