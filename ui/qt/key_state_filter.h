// Feeds the arrow keys of every key event of the application to the game, whichever window has focus.
#pragma once

#include "ui/app/input.h"

#include <QObject>

class KeyStateFilter final : public QObject {
public:
    // Installs itself on the application; the program's input must outlive it.
    explicit KeyStateFilter(app::Input& input);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    app::Input& m_input;
};
