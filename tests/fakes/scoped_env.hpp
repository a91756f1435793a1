#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace quorvex::test {

// Sets an environment variable (or, given nothing, removes it) for the guard's lifetime and
// puts back what was there when it ends, also when a failed assertion ends the test early.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : m_name(std::move(name))
    {
        if (const char* saved = std::getenv(m_name.c_str()))
            m_saved = saved;
        set(m_name, value);
    }
    ~ScopedEnv() { set(m_name, m_saved); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    // Sets or removes the variable of this process, which the programs it starts inherit.
    static void set(const std::string& name, const std::optional<std::string>& value);

    std::string m_name;
    std::optional<std::string> m_saved;
};

} // namespace quorvex::test
