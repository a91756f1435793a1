#pragma once

#include "support/desktop.hpp"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::test {

// Records every message box and dialog and answers from a script; an unscripted box gets the
// first button's answer (OK, Yes, Abort or Retry), an unscripted dialog is cancelled.
class ScriptedDesktop final : public Desktop {
public:
    struct Box {
        std::string text;
        int style;
        std::string title;
    };

    int messageBox(const std::string& text, int style, const std::string& title) override
    {
        m_boxes.push_back({text, style, title});
        const auto first = kFirstButton.find(style & mb::ButtonsMask);
        return next(m_answers, first == kFirstButton.end() ? mb::Ok : first->second);
    }
    std::optional<std::string> openFileName(const OpenFileRequest& request) override
    {
        m_fileDialogs.push_back(request);
        return next(m_paths, {});
    }
    std::optional<std::string> chooseFolder(const std::string& prompt) override
    {
        m_folderDialogs.push_back(prompt);
        return next(m_paths, {});
    }
    void doEvents() override
    {
        ++m_doEventsCount;
        if (m_doEventsHook)
            m_doEventsHook();
    }
    void setBusyPointer(bool busy) override { m_busy = busy; }
    void beep() override { ++m_beeps; }
    void trayNotification(const std::string& title, const std::string& text) override
    {
        m_notifications.push_back(title + ": " + text);
    }

    void answerNext(int answer) { m_answers.push_back(answer); }
    // The next file or folder dialog's choice; nothing is a cancel.
    void chooseNext(std::optional<std::string> path) { m_paths.push_back(std::move(path)); }
    // Runs on every doEvents(), so a test can act "while" the core waits.
    void onDoEvents(std::function<void()> hook) { m_doEventsHook = std::move(hook); }

    const std::vector<Box>& boxes() const { return m_boxes; }
    // Every dialog shown so far: the open-file requests, and the folder prompts.
    const std::vector<OpenFileRequest>& fileDialogs() const { return m_fileDialogs; }
    const std::vector<std::string>& folderDialogs() const { return m_folderDialogs; }
    bool busy() const { return m_busy; }
    int beeps() const { return m_beeps; }
    // Every tray notification as "<title>: <text>".
    const std::vector<std::string>& notifications() const { return m_notifications; }
    int doEventsCount() const { return m_doEventsCount; }

private:
    // The answer of a box's first button, by the box's buttons; OK when not listed.
    static inline const std::map<int, int> kFirstButton = {{mb::AbortRetryIgnore, mb::Abort},
                                                           {mb::YesNoCancel, mb::Yes},
                                                           {mb::YesNo, mb::Yes},
                                                           {mb::RetryCancel, mb::Retry}};

    // The script's next entry, taken from it; the given one when the script has run out.
    template <class T> static T next(std::deque<T>& script, T unscripted)
    {
        if (script.empty())
            return unscripted;
        T entry = std::move(script.front());
        script.pop_front();
        return entry;
    }

    std::vector<Box> m_boxes;
    std::deque<int> m_answers;
    std::deque<std::optional<std::string>> m_paths;
    std::vector<OpenFileRequest> m_fileDialogs;
    std::vector<std::string> m_folderDialogs;
    std::vector<std::string> m_notifications;
    std::function<void()> m_doEventsHook;
    bool m_busy = false;
    int m_beeps = 0;
    int m_doEventsCount = 0;
};

} // namespace quorvex::test
