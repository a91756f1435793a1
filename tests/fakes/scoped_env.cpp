#include "fakes/scoped_env.hpp"

#include <cstdlib>

namespace quorvex::test {

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : m_name(std::move(name))
{
    if (const char* saved = std::getenv(m_name.c_str()))
        m_saved = saved;
    set(m_name, value);
}

ScopedEnv::~ScopedEnv()
{
    set(m_name, m_saved);
}

} // namespace quorvex::test
