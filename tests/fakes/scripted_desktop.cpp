#include "fakes/scripted_desktop.hpp"

#include <map>

namespace quorvex::test {

namespace {

// The answer of a box's first button, by the box's buttons; OK when not listed.
const std::map<int, int> kFirstButton = {{mb::AbortRetryIgnore, mb::Abort},
                                         {mb::YesNoCancel, mb::Yes},
                                         {mb::YesNo, mb::Yes},
                                         {mb::RetryCancel, mb::Retry}};

} // namespace

int ScriptedDesktop::messageBox(const std::string& text, int style, const std::string& title)
{
    m_boxes.push_back({text, style, title});
    if (m_answers.empty()) {
        const auto first = kFirstButton.find(style & mb::ButtonsMask);
        return first == kFirstButton.end() ? mb::Ok : first->second;
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDesktop::nextPath()
{
    if (m_paths.empty())
        return std::nullopt;
    std::optional<std::string> path = std::move(m_paths.front());
    m_paths.pop_front();
    return path;
}

std::optional<std::string> ScriptedDesktop::openFileName(const OpenFileRequest& request)
{
    m_fileDialogs.push_back(request);
    return nextPath();
}

std::optional<std::string> ScriptedDesktop::chooseFolder(const std::string& prompt)
{
    m_folderDialogs.push_back(prompt);
    return nextPath();
}

void ScriptedDesktop::doEvents()
{
    ++m_doEventsCount;
    if (m_doEventsHook)
        m_doEventsHook();
}

} // namespace quorvex::test
