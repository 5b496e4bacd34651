// The Qt program with its loaded windows in reach, for tests and benchmarks that look at them.
#pragma once

#include "ui/qt/form_window.h"
#include "ui/qt/game_app.h"

namespace support {

class WatchedGame final : public GameApp {
public:
    using GameApp::GameApp;

    // The Qt windows of the loaded forms, or nullptr.
    FormWindow* window(app::FormId id) const
    {
        app::LoadedWindow* loaded = app().window(id);
        return loaded ? static_cast<FormWindow*>(&loaded->view()) : nullptr;
    }
    FormWindow* mainWindow() const { return window(app::FormId::Form1); }
    FormWindow* keyHelpWindow() const { return window(app::FormId::Form2); }
    FormWindow* aboutWindow() const { return window(app::FormId::Form3); }
};

} // namespace support
