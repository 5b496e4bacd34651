// A control as its window shows it: the properties that can change, stored, and told to a watcher.
#pragma once

#include "ui/app/front_end.h"
#include "ui/forms/form_definition.h"

#include <optional>
#include <string>
#include <string_view>

namespace app {

struct PixelPoint {
    int x;
    int y;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Starts in the definition's design-time state. Positions are kept in twips exactly as written; a
// front end shows them rounded to whole pixels.
class StoredControl {
public:
    explicit StoredControl(const forms::ControlDef& definition);

    std::string_view name() const { return m_definition->name; }
    const forms::ControlDef& definition() const { return *m_definition; }
    void watch(ControlWatcher& watcher) { m_watcher = &watcher; }

    float top() const { return m_top; }
    float left() const { return m_left; }
    bool visible() const { return m_visible; }
    std::string_view caption() const { return m_caption; }

    void setTop(float twips);
    void setLeft(float twips);
    void setVisible(bool visible);
    void setCaption(std::string_view caption);

    // The position in whole logical pixels, or nothing when it is too far off for any window
    // system to place a window there (such a control stays where it was last shown).
    std::optional<PixelPoint> pixelPosition() const;

private:
    template <typename T>
    void store(T& field, T value, Property property);
    void wrote(Property property, bool changed);

    const forms::ControlDef* m_definition;
    ControlWatcher* m_watcher = nullptr;
    float m_top;
    float m_left;
    bool m_visible;
    std::string m_caption;
};

} // namespace app
