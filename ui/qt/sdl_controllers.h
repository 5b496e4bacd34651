// Game controllers on the desktop through SDL2's game-controller API, read into the program's input.
#pragma once

#include "ui/app/controller.h"
#include "ui/app/input.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <map>

struct _SDL_GameController;

// SDL knows hundreds of pads by its mapping database. While none is open nothing runs: a device
// node appearing or going under /dev/input wakes it to look for a while; while one is, each is
// read 60 times a second and told to the input when its reading changed.
class SdlControllers final : public QObject {
public:
    explicit SdlControllers(app::Input& input);
    ~SdlControllers() override;
    SdlControllers(const SdlControllers&) = delete;
    SdlControllers& operator=(const SdlControllers&) = delete;

    // Opens the controllers plugged in and closes those gone, then reads every open one. The device
    // watcher calls it; so does whoever plugs in a controller with no device node (a virtual one).
    void look();
    bool ready() const { return m_ready; }

private:
    void read();
    void keepLooking();

    app::Input& m_input;
    bool m_ready = false;
    QFileSystemWatcher m_devices;
    QTimer m_poll;
    // After a device node changed, udev may take a moment to let SDL open it.
    std::chrono::steady_clock::time_point m_lookUntil;
    struct Open {
        _SDL_GameController* controller;
        app::ControllerState last;
    };
    // By SDL's instance id, which is also the controller's number for the input.
    std::map<int, Open> m_open;
};
