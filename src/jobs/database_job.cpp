#include "jobs/database_job.hpp"

#include "support/error.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"

#include <string>

namespace quorvex {

namespace {

// The classic getters convert "0" & value back to a number, so a negative value ("0-5") is
// not a number at all and fails with Type mismatch; the caller's trap reports it.
int16_t throughLeadingZeroText(int16_t value)
{
    std::string text(1, '0');
    text += std::to_string(value);
    if (text.find_first_not_of("0123456789") != std::string::npos)
        throw RuntimeError::fromNumber(err::TypeMismatch);
    return value;
}

} // namespace

int16_t CDatabaseJob::DayOfWeek() const
{
    return throughLeadingZeroText(m_dayOfWeek);
}

int16_t CDatabaseJob::DayOfMonth() const
{
    return throughLeadingZeroText(m_dayOfMonth);
}

int16_t CDatabaseJob::NumberCopies() const
{
    return throughLeadingZeroText(m_numberCopies);
}

void CDatabaseJob::setBackupTargetDirectory(std::string value)
{
    if (value.empty() || value.back() != kPathSeparator)
        value += kPathSeparator;
    m_backupTargetDirectory = std::move(value);
}

void CDatabaseJob::SetDayOfWeek(bool mon, bool tue, bool wed, bool thu, bool fri, bool sat,
                                bool sun)
{
    trapFatal("CDatabaseJob.cls", "SetDayOfWeek()", [&] {
        // Bit 2^w for weekday w, Sunday = 1 ... Saturday = 7.
        const bool days[] = {sun, mon, tue, wed, thu, fri, sat};
        int mask = 0;
        for (int w = 1; w <= 7; ++w)
            if (days[w - 1])
                mask |= 1 << w;
        m_dayOfWeek = static_cast<int16_t>(mask);
    });
}

} // namespace quorvex
