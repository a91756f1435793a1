#pragma once

#include "execution/status_display.hpp"

#include <array>
#include <string>
#include <vector>

namespace quorvex::test {

// A status display that remembers every text it was given and shows the lights' state.
class RecordingDisplay final : public StatusDisplay {
public:
    void setMessageText(const std::string& text) override
    {
        m_texts.push_back(text);
        m_text = text;
    }
    void setLightVisible(int index, bool visible) override
    {
        m_lights.at(static_cast<size_t>(index)) = visible;
    }
    void refresh() override { ++m_refreshes; }

    const std::string& text() const { return m_text; }
    const std::vector<std::string>& texts() const { return m_texts; }
    // The lights as a picture: "1001" is idle, "0110" running.
    std::string lights() const
    {
        std::string picture;
        for (bool on : m_lights)
            picture += on ? '1' : '0';
        return picture;
    }
    int refreshes() const { return m_refreshes; }

private:
    std::string m_text;
    std::vector<std::string> m_texts;
    std::array<bool, kLightCount> m_lights{};
    int m_refreshes = 0;
};

} // namespace quorvex::test
