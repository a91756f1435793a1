#include "fakes/scoped_env.hpp"

#include <cstdlib>

namespace quorvex::test {

// An empty value is how the C runtime removes a variable.
void ScopedEnv::set(const std::string& name, const std::optional<std::string>& value)
{
    _putenv_s(name.c_str(), value.value_or("").c_str());
}

} // namespace quorvex::test
