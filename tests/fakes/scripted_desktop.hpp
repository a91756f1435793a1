#pragma once

#include "support/desktop.hpp"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quorvex::test {

// Records every message box and answers from a script; an unscripted box gets the first
// button's answer (OK, Yes, Abort or Retry).
class ScriptedDesktop final : public Desktop {
public:
    struct Box {
        std::string text;
        int style;
        std::string title;
    };

    int messageBox(const std::string& text, int style, const std::string& title) override;
    void doEvents() override;
    void setBusyPointer(bool busy) override { m_busy = busy; }
    void beep() override { ++m_beeps; }

    void answerNext(int answer) { m_answers.push_back(answer); }
    // Runs on every doEvents(), so a test can act "while" the core waits.
    void onDoEvents(std::function<void()> hook) { m_doEventsHook = std::move(hook); }

    const std::vector<Box>& boxes() const { return m_boxes; }
    bool busy() const { return m_busy; }
    int doEventsCount() const { return m_doEventsCount; }

private:
    std::vector<Box> m_boxes;
    std::deque<int> m_answers;
    std::function<void()> m_doEventsHook;
    bool m_busy = false;
    int m_beeps = 0;
    int m_doEventsCount = 0;
};

} // namespace quorvex::test
