#pragma once

#include "execution/status_display.hpp"

#include <string>
#include <vector>

namespace quorvex::test {

// A status display that remembers every text it was given; the lights as a picture: "1001"
// is idle, "0110" running.
struct RecordingDisplay final : StatusDisplay {
    void setMessageText(const std::string& text) override { texts.push_back(text); }
    void setLightVisible(int index, bool visible) override
    {
        lights.at(static_cast<size_t>(index)) = visible ? '1' : '0';
    }
    void refresh() override { ++refreshes; }

    std::vector<std::string> texts;
    std::string lights = std::string(kLightCount, '0');
    int refreshes = 0;
};

} // namespace quorvex::test
