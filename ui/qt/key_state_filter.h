// Feeds the arrow keys of every key event of the application to the game, whichever window has focus.
#pragma once

#include "ui/app/app.h"

#include <QObject>

class KeyStateFilter final : public QObject {
public:
    // Installs itself on the application; the game must outlive it.
    explicit KeyStateFilter(app::App& game);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    app::App& m_game;
};
