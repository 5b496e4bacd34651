// A control as the rules see it: the properties they touch, stored, and told to a watcher.
#pragma once

#include "ui/forms/form_definition.h"
#include "ui/app/front_end.h"
#include "game/platform.h"

#include <optional>
#include <string>
#include <string_view>

namespace app {

struct PixelPoint {
    int x;
    int y;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Positions are kept in twips exactly as the rules wrote them; a front end shows them rounded to
// whole pixels. A property the control's kind lacks raises the runtime's "not supported" error.
class StoredControl final : public game::Control {
public:
    explicit StoredControl(const forms::ControlDef& definition);
    // A timer has Enabled and nothing else.
    explicit StoredControl(const forms::TimerDef& definition);

    std::string_view name() const { return m_name; }
    // The control's definition; nullptr for a timer.
    const forms::ControlDef* definition() const { return m_definition; }
    void watch(ControlWatcher& watcher) { m_watcher = &watcher; }

    float top() const override;
    float left() const override;
    void setTop(float twips) override;
    void setLeft(float twips) override;
    bool visible() const override;
    void setVisible(bool visible) override;
    void setCaption(std::string_view caption) override;
    void setEnabled(bool enabled) override;

    std::string_view caption() const { return m_caption; }
    bool enabled() const { return m_enabled; }
    // The position in whole logical pixels, or nothing when it is too far off for any window
    // system to place a window there (such a control stays where it was last shown).
    std::optional<PixelPoint> pixelPosition() const;

private:
    bool isTimer() const { return m_definition == nullptr; }
    void requirePlaced() const;
    template <typename T>
    void store(T& field, T value, Property property);
    void wrote(Property property, bool changed);

    std::string_view m_name;
    const forms::ControlDef* m_definition;
    ControlWatcher* m_watcher = nullptr;
    float m_top = 0;
    float m_left = 0;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_caption;
};

} // namespace app
