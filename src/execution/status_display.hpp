#pragma once

#include <string>

namespace quorvex {

// The window on which a running job shows its progress: a message text and four lights.
// The schedule window implements it; quorvexctl prints the text; tests record it.
class StatusDisplay {
public:
    static constexpr int kLightCount = 4;

    virtual ~StatusDisplay() = default;
    // Shows the text at once (repaints).
    virtual void setMessageText(const std::string& text) = 0;
    virtual void setLightVisible(int index, bool visible) = 0;
    virtual void refresh() = 0;
};

} // namespace quorvex
