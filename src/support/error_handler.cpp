#include "support/error_handler.hpp"

#include "support/app_info.hpp"
#include "support/clock.hpp"
#include "support/computer_name.hpp"
#include "support/date_text.hpp"
#include "support/desktop.hpp"
#include "support/fatal_exit.hpp"
#include "support/strings.hpp"
#include "support/text_file.hpp"

#include <filesystem>

namespace quorvex {

namespace {

constexpr std::string_view kBadChars = "'\";";

// The platform's print form of a number: a blank (or the minus sign), the digits, a blank.
std::string printNumber(int32_t n)
{
    const std::string digits = std::to_string(n);
    return n < 0 ? digits + " " : " " + digits + " ";
}

std::string errorText(const RuntimeError& e)
{
    return "ERR#" + std::to_string(e.number()) + " @ " + e.source() + " - " + e.description();
}

} // namespace

std::string errorLogPath()
{
    return dataFile(app().programName + ".err");
}

void HandleError(bool fatal, const RuntimeError& error, std::string_view module,
                 std::string_view routine, std::string_view details)
{
    const std::string text = errorText(error);
    std::string block = text + kCrLf + std::string(40, '-') + kCrLf + "Module/Function: ";
    block.append(module).append("/").append(routine).append(".").append(kCrLf).append(kCrLf);
    block.append(details);
    block = replaceChars(block, kBadChars, "`");
    const std::string shown = replaceChars(text, kBadChars, "~");

    appendCrLfLines(errorLogPath(),
                    {std::string(80, '-'),
                     "Date:        " + formatGeneralDate(Now()),
                     "Computer:    " + GetComputerNameA(),
                     std::string("Severity:    ") + (fatal ? "Fatal" : "Non-Fatal"),
                     "Description: " + shown,
                     "Last DLL:    " + printNumber(error.lastDllError()),
                     "Details:     " + block});

    if (fatal) {
        MsgBox(shown + kCrLf + kCrLf + "Application will now terminate.", mb::OkOnly | mb::Exclamation,
               "Fatal Application Error");
        FatalExit();
    }
    MsgBox(shown + kCrLf + kCrLf + "Press Ok to Continue.", mb::OkOnly | mb::Exclamation,
           "Non Fatal Application Error");
}

void reportFatal(const RuntimeError& error, std::string_view module, std::string_view routine)
{
    HandleError(true, error, module, routine);
    FatalExit();
}

RuntimeError toRuntimeError(const std::exception& e)
{
    if (const auto* fsError = dynamic_cast<const std::filesystem::filesystem_error*>(&e))
        return RuntimeError::fromErrno(fsError->code().value());
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return RuntimeError::fromNumber(err::OutOfMemory);
    return RuntimeError(err::ObjectErrorBase + 1, std::string(kRuntimeSource), e.what());
}

} // namespace quorvex
