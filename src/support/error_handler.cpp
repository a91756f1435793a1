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
#include <iostream>

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

bool WriteErrorLogEntry(bool fatal, const RuntimeError& error, std::string_view module,
                        std::string_view routine, std::string_view details)
{
    const std::string text = errorText(error);
    std::string block = text + kCrLf + std::string(40, '-') + kCrLf + "Module/Function: ";
    block.append(module).append("/").append(routine).append(".").append(kCrLf).append(kCrLf);
    block.append(details);
    block = replaceChars(block, kBadChars, "`");
    try {
        appendCrLfLines(errorLogPath(),
                        {std::string(80, '-'), "Date:        " + formatGeneralDate(Now()),
                         "Computer:    " + GetComputerNameA(),
                         std::string("Severity:    ") + (fatal ? "Fatal" : "Non-Fatal"),
                         "Description: " + replaceChars(text, kBadChars, "~"),
                         "Last DLL:    " + printNumber(error.lastDllError()),
                         "Details:     " + block});
        return true;
    } catch (const std::exception& e) {
        // The log is where failures are told; when it fails itself, standard error is all
        // that is left.
        std::cerr << "quorvex: the error log " << errorLogPath() << " cannot be written ("
                  << e.what() << "); lost entry: " << block << std::endl;
        return false;
    }
}

void HandleError(bool fatal, const RuntimeError& error, std::string_view module,
                 std::string_view routine, std::string_view details)
{
    WriteErrorLogEntry(fatal, error, module, routine, details);
    const std::string shown = replaceChars(errorText(error), kBadChars, "~");
    const std::string ending = fatal ? "Application will now terminate." : "Press Ok to Continue.";
    const char* title = fatal ? "Fatal Application Error" : "Non Fatal Application Error";
    try {
        MsgBox(shown + kCrLf + kCrLf + ending, mb::OkOnly | mb::Exclamation, title);
    } catch (const std::exception& e) {
        std::cerr << "quorvex: " << title << ": " << shown << " (" << e.what() << ")" << std::endl;
    }
    if (fatal)
        FatalExit();
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
