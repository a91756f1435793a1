#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// Message-box styles and answers in their classic numbering: buttons + icon (+ default button).
namespace mb {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int ButtonsMask = 0x7;

inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int IconMask = 0x70;

inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;

inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace mb

// What an open-file dialog shows: its title, the types it lists (a description such as
// "Microsoft Access Database (*.mdb)" with its pattern), the extension added to a typed name,
// the folder it opens in and the name it proposes.
struct OpenFileRequest {
    struct Filter {
        std::string description;
        std::string pattern;
    };
    std::string title;
    std::vector<Filter> filters;
    std::string defaultExtension;
    std::string initialDirectory;
    std::string fileName;
};

// The desktop the core talks to: message boxes, file and folder dialogs, pending window
// events, the busy pointer. The agent installs a Qt one, quorvexctl the console one, tests a
// scripted one.
class Desktop {
public:
    virtual ~Desktop() = default;
    // A modal box; returns the answer (mb::Ok, mb::Yes...).
    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    // The full path the user chose, nothing when the dialog was cancelled. The chosen file
    // need not exist: the caller checks. Where nobody can pick (a console), every dialog is
    // cancelled.
    virtual std::optional<std::string> openFileName(const OpenFileRequest&) { return {}; }
    // A folder chosen below the user's desktop, without a final separator; nothing on cancel.
    virtual std::optional<std::string> chooseFolder(const std::string&) { return {}; }
    // Lets pending window events run once.
    virtual void doEvents() = 0;
    virtual void setBusyPointer(bool busy) = 0;
    virtual void beep() = 0;
    // A passing note beside the notification-area icon, when there is one.
    virtual void trayNotification(const std::string&, const std::string&) {}
};

// Prints every box to standard error and gives the cautious answer: OK for a box with only
// OK, otherwise Cancel, No or Abort, so nothing unattended retries or deletes on its own.
class ConsoleDesktop : public Desktop {
public:
    int messageBox(const std::string& text, int style, const std::string& title) override;
    void doEvents() override {}
    void setBusyPointer(bool) override {}
    void beep() override {}

    static int cautiousAnswer(int style);
};

// The installed desktop; the console one until another is installed. The caller keeps
// ownership; nullptr restores the console one.
Desktop& desktop();
void setDesktop(Desktop* desktop);

// A message box; an empty title is the application's title.
int MsgBox(const std::string& text, int style = mb::OkOnly, const std::string& title = {});

// Line breaks inside message texts.
inline constexpr const char* kCrLf = "\r\n";

} // namespace quorvex
