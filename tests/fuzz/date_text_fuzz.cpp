// Dates and times as job files hold them: each text is read or refused with Type mismatch,
// and a date or time read back from what the writer makes of it is the same.
#include "fuzz_environment.hpp"

#include "support/date_text.hpp"
#include "support/error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace quorvex;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const DateTime date = parseDate(text);
        fuzz::require(parseDate(formatDate(date)) == date.datePart());
    } catch (const RuntimeError& e) {
        fuzz::require(e.number() == err::TypeMismatch || e.number() == err::InvalidCall);
    }
    try {
        const DateTime time = parseTime(text);
        fuzz::require(parseTime(formatTime(time)).serialSeconds() / 60 ==
                      time.timePart().serialSeconds() / 60);
    } catch (const RuntimeError& e) {
        fuzz::require(e.number() == err::TypeMismatch);
    }
    return 0;
}
