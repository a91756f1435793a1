// A hand-edited Quorvex.ini: the preferences load, or the program ends with its report.
#include "fuzz_environment.hpp"

#include "support/preferences.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quorvex;
    static fuzz::Environment environment;
    environment.put("Quorvex.ini", data, size);
    try {
        LoadPreferences();
    } catch (const fuzz::ProgramEnded&) {
        // A number out of range: the documented fatal report.
    }
    return 0;
}
