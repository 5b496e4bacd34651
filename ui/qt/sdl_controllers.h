// Game controllers on the desktop through SDL2's game-controller API, read into the program's input.
#pragma once

#include "ui/app/controller.h"
#include "ui/app/input.h"
#include "ui/qt/sdl_library.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <map>
#include <memory>

// SDL knows hundreds of pads by its mapping database. It is loaded only once a joystick's device
// node is there (/dev/input/js*), so a player without one pays nothing for it. While no pad is
// open nothing runs: a device node appearing or going under /dev/input wakes it to look for a
// while; while one is, each is read 60 times a second and told to the input when its reading changed.
class SdlControllers final : public QObject {
public:
    explicit SdlControllers(app::Input& input);
    ~SdlControllers() override;
    SdlControllers(const SdlControllers&) = delete;
    SdlControllers& operator=(const SdlControllers&) = delete;

    // Starts SDL's controllers if they are not yet, opens the pads plugged in and closes those gone,
    // then reads every open one. Whoever plugs in a pad with no device node (a virtual one) calls it;
    // false when SDL's controllers cannot start.
    bool look();

private:
    bool start();
    void read();
    void devicesChanged();

    app::Input& m_input;
    std::unique_ptr<SdlLibrary> m_sdl;
    bool m_started = false;
    QFileSystemWatcher m_devices;
    QTimer m_poll;
    // After a device node changed, udev may take a moment to let SDL open it.
    std::chrono::steady_clock::time_point m_lookUntil;
    struct Open {
        SDL_GameController* controller;
        app::ControllerState last;
    };
    // By SDL's instance id, which is also the controller's number for the input.
    std::map<int, Open> m_open;
};
