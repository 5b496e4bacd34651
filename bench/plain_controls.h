// A main window whose controls only store their values: the engine's own cost, with no toolkit.
#pragma once

#include "platform.h"

#include <map>
#include <string>
#include <string_view>

namespace bench {

class PlainControl final : public game::Control {
public:
    float top() const override { return m_top; }
    float left() const override { return m_left; }
    void setTop(float twips) override { m_top = twips; }
    void setLeft(float twips) override { m_left = twips; }
    bool visible() const override { return m_visible; }
    void setVisible(bool visible) override { m_visible = visible; }
    void setCaption(std::string_view caption) override { m_caption = caption; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }

private:
    float m_top = 0;
    float m_left = 0;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_caption;
};

// Any name is a control. A capture is only counted: whoever uses this keeps it from happening.
class PlainHost final : public game::Form1Host {
public:
    game::Control& control(std::string_view name) override { return m_controls[std::string(name)]; }
    void messageBox(std::string_view, int, std::string_view) override { ++captures; }
    void unloadForm1() override {}

    int captures = 0;

private:
    std::map<std::string, PlainControl, std::less<>> m_controls;
};

} // namespace bench
