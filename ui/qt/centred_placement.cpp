// Centring a window on its screen's available area, and looking for its frame a while after it is mapped.
#include "ui/qt/centred_placement.h"

#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

CentredPlacement::CentredPlacement(QWidget& window) : QObject(&window), m_window(window) {}

void CentredPlacement::showCentred()
{
    m_window.adjustSize();
    centre();
    m_window.show();
    // The frame is the window manager's, and its size is known only once it has framed the
    // window: centre again then. No manager frames a window the moment it is mapped, so the
    // first look waits too, and the first frame does not wait for it.
    m_framingLooks = 0;
    QTimer::singleShot(kFramingLookMs, this, &CentredPlacement::centreOnceFramed);
}

void CentredPlacement::centre()
{
    // The whole window, frame included, in the middle of the screen's available area. Where the
    // platform places windows itself (Wayland), the compositor's choice stands. The widget's own
    // idea of its frame may lag the window manager's word, so the client area is placed, by the
    // margins the window itself reports. A window never shown has no frame yet, and asking would
    // cost round trips to the X server before the window is even mapped.
    const QRect available = m_window.screen()->availableGeometry();
    QWindow* handle = m_window.windowHandle();
    const QMargins frame = m_window.isVisible() && handle ? handle->frameMargins() : QMargins();
    const QSize size = m_window.size();
    const QSize whole = size.grownBy(frame);
    const QPoint frameAt(available.x() + (available.width() - whole.width()) / 2,
                         available.y() + (available.height() - whole.height()) / 2);
    m_window.setGeometry(QRect(frameAt + QPoint(frame.left(), frame.top()), size));
}

void CentredPlacement::centreOnceFramed()
{
    // A window manager frames a new window a moment after it is mapped, and tells no widget when it
    // has: look for the frame for a short while. Without a window manager none comes.
    constexpr int kLooks = 150;
    if (!m_window.windowHandle()->frameMargins().isNull())
        centre();
    else if (++m_framingLooks < kLooks)
        QTimer::singleShot(kFramingLookMs, this, &CentredPlacement::centreOnceFramed);
}
