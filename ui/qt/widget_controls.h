// The engine's controls over Qt widgets and timers.
#pragma once

#include "form_definition.h"
#include "platform.h"

#include <string>

class QLabel;
class QTimer;
class QWidget;

// A picture box, image or label. The position is kept in twips exactly as the rules wrote it; the
// widget shows it rounded to whole pixels.
class WidgetControl final : public game::Control {
public:
    WidgetControl(QWidget& widget, const forms::ControlDef& definition);

    float top() const override { return m_top; }
    float left() const override { return m_left; }
    void setTop(float twips) override;
    void setLeft(float twips) override;
    bool visible() const override { return m_visible; }
    void setVisible(bool visible) override;
    void setCaption(std::string_view caption) override;
    void setEnabled(bool enabled) override;

private:
    void place();

    QWidget& m_widget;
    QLabel* m_label;
    float m_top;
    float m_left;
    bool m_visible;
    std::string m_caption;
};

// A timer has none of the other properties: the engine's default refuses them.
class TimerControl final : public game::Control {
public:
    explicit TimerControl(QTimer& timer) : m_timer(timer) {}
    void setEnabled(bool enabled) override;

private:
    QTimer& m_timer;
};
