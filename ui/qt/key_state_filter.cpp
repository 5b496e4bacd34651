// Arrow keys to the game; losing the keyboard releases them.
#include "ui/qt/key_state_filter.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <optional>

namespace {

std::optional<app::ArrowKey> arrowOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left: return app::ArrowKey::Left;
    case Qt::Key_Up: return app::ArrowKey::Up;
    case Qt::Key_Right: return app::ArrowKey::Right;
    case Qt::Key_Down: return app::ArrowKey::Down;
    default: return std::nullopt;
    }
}

} // namespace

KeyStateFilter::KeyStateFilter(app::Input& input) : m_input(input)
{
    qApp->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        m_input.focusChanged(state == Qt::ApplicationActive);
    });
}

bool KeyStateFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (const auto arrow = arrowOf(key->key())) {
            if (type == QEvent::KeyPress)
                m_input.keyDown(*arrow, key->isAutoRepeat());
            else if (!key->isAutoRepeat())
                m_input.keyUp(*arrow);
        }
    }
    // Only listening: the focused widget still gets its keys.
    return QObject::eventFilter(watched, event);
}
