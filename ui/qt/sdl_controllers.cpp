// Starting SDL's controllers when a joystick is there; opening, reading and closing its pads.
#include "ui/qt/sdl_controllers.h"

#include <QDir>

#include <cstdio>

namespace {

constexpr auto kLookAfterDeviceChange = std::chrono::seconds(3);
// 60 readings a second at most, as a display's frames.
constexpr int kReadMs = 16;
const QString kInputDevices = QStringLiteral("/dev/input");

// The kernel's joystick interface makes a node for each joystick or game pad.
bool joystickNodes() { return !QDir(kInputDevices).entryList({QStringLiteral("js*")}, QDir::System).isEmpty(); }

} // namespace

SdlControllers::SdlControllers(app::Input& input) : m_input(input)
{
    m_poll.setInterval(kReadMs);
    connect(&m_poll, &QTimer::timeout, this, &SdlControllers::look);
    m_devices.addPath(kInputDevices);
    connect(&m_devices, &QFileSystemWatcher::directoryChanged, this, &SdlControllers::devicesChanged);
    if (joystickNodes())
        look();
}

SdlControllers::~SdlControllers()
{
    if (!m_started)
        return;
    for (const auto& [id, open] : m_open)
        m_sdl->GameControllerClose(open.controller);
    m_sdl->QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlControllers::start()
{
    if (m_started)
        return true;
    if (!m_sdl && !(m_sdl = SdlLibrary::load()))
        return false;
    // The game has no SDL window: read the pads whichever window has the focus; the input decides
    // what a reading counts for without it.
    m_sdl->SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (m_sdl->InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        // The game plays on with the keyboard; say why no controller answers.
        std::fprintf(stderr, "glouto: no game controllers: %s\n", m_sdl->GetError());
        return false;
    }
    return m_started = true;
}

void SdlControllers::devicesChanged()
{
    if (!m_started && !joystickNodes())
        return;
    m_lookUntil = std::chrono::steady_clock::now() + kLookAfterDeviceChange;
    look();
}

bool SdlControllers::look()
{
    if (!start())
        return false;
    m_sdl->PumpEvents();
    SDL_Event event;
    while (m_sdl->PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED, SDL_CONTROLLERDEVICEREMOVED) > 0) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) {
            if (SDL_GameController* controller = m_sdl->GameControllerOpen(event.cdevice.which)) {
                const int id = m_sdl->JoystickInstanceID(m_sdl->GameControllerGetJoystick(controller));
                m_open.emplace(id, Open{controller, {}});
            }
        } else if (const auto gone = m_open.find(event.cdevice.which); gone != m_open.end()) {
            m_sdl->GameControllerClose(gone->second.controller);
            m_open.erase(gone);
            m_input.controllerGone(event.cdevice.which);
        }
    }
    // Nothing else of SDL's is read: its queue must not fill up with what nobody takes.
    m_sdl->FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    read();
    const bool looking = !m_open.empty() || std::chrono::steady_clock::now() < m_lookUntil;
    if (looking && !m_poll.isActive())
        m_poll.start();
    else if (!looking)
        m_poll.stop();
    return true;
}

void SdlControllers::read()
{
    for (auto& [id, open] : m_open) {
        SDL_GameController* pad = open.controller;
        const auto button = [&](SDL_GameControllerButton b) { return m_sdl->GameControllerGetButton(pad, b) != 0; };
        const auto axis = [&](SDL_GameControllerAxis a) {
            return static_cast<float>(m_sdl->GameControllerGetAxis(pad, a)) / SDL_JOYSTICK_AXIS_MAX;
        };
        // The cross, the left stick and the bottom face button, in the words the input knows.
        const app::ControllerState state{.up = button(SDL_CONTROLLER_BUTTON_DPAD_UP),
                                         .down = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
                                         .left = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT),
                                         .right = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
                                         .stickX = axis(SDL_CONTROLLER_AXIS_LEFTX),
                                         .stickY = axis(SDL_CONTROLLER_AXIS_LEFTY),
                                         .faceButton = button(SDL_CONTROLLER_BUTTON_A)};
        if (state != open.last) {
            open.last = state;
            m_input.controllerRead(id, state);
        }
    }
}
