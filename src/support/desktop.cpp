#include "support/desktop.hpp"

#include "support/app_info.hpp"

#include <iostream>

namespace quorvex {

int ConsoleDesktop::cautiousAnswer(int style)
{
    switch (style & mb::ButtonsMask) {
    case mb::OkOnly:
        return mb::Ok;
    case mb::AbortRetryIgnore:
        return mb::Abort;
    case mb::YesNo:
        return mb::No;
    default:
        return mb::Cancel;
    }
}

int ConsoleDesktop::messageBox(const std::string& text, int style, const std::string& title)
{
    std::string flat;
    for (char c : text)
        if (c != '\r')
            flat += c;
    std::cerr << title << ": " << flat << std::endl;
    return cautiousAnswer(style);
}

namespace {
ConsoleDesktop g_console;
Desktop* g_desktop = &g_console;
} // namespace

Desktop& desktop()
{
    return *g_desktop;
}

void setDesktop(Desktop* d)
{
    g_desktop = d ? d : &g_console;
}

int MsgBox(const std::string& text, int style, const std::string& title)
{
    return g_desktop->messageBox(text, style, title.empty() ? app().title : title);
}

} // namespace quorvex
