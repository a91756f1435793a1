#pragma once

#include <string>

namespace quorvex {

class frmSchedule;

// The Help menu's entries.
enum class HelpItem { Contents, License, Homepage, About };

// The maker's addresses, given to the build; empty ones are not offered.
std::string homepageAddress();
std::string supportMailAddress();

// Opens the entry for the schedule window, which owns the About box; F1 there asks the
// window's Help Contents command.
void openHelpItem(frmSchedule& owner, HelpItem item);

// Opens the help page beside the programs in the program that the desktop opens it with.
// Failures to find either are told in a box; run-time errors go to the caller's trap.
void HelpContents();

// Opens an address (a web page or a "mailto:" link) in the browser of the preferences; when
// that names no program, the user is asked for one, which is kept. Failures are reported and
// the program goes on.
void RunIE(const std::string& address);

} // namespace quorvex
