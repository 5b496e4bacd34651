// Feeds the arrow-key latch from every key event of the application, whichever window has focus.
#pragma once

#include "arrow_key_latch.h"

#include <QObject>

class KeyStateFilter final : public QObject {
public:
    // Installs itself on the application; the latch must outlive it.
    explicit KeyStateFilter(game::ArrowKeyLatch& latch);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    game::ArrowKeyLatch& m_latch;
};
