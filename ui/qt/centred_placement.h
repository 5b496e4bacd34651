// A top-level window shown in the middle of its screen, frame included, once the window manager has framed it.
#pragma once

#include <QObject>

class QWidget;

class CentredPlacement final : public QObject {
public:
    // Lives as long as the window, as its child.
    explicit CentredPlacement(QWidget& window);

    // Sizes the window to its contents and shows it centred; centres it again once the window
    // manager's frame is known.
    void showCentred();

private:
    void centre();
    void centreOnceFramed();

    // Between two looks for the window manager's frame.
    static constexpr int kFramingLookMs = 20;

    QWidget& m_window;
    int m_framingLooks = 0;
};
