// Opening, reading and closing SDL's game controllers, and watching for new ones without a clock.
#include "ui/qt/sdl_controllers.h"

#include <SDL.h>

#include <cstdio>

namespace {

// The cross, the left stick and the bottom face button, in the words the input knows.
app::ControllerState stateOf(SDL_GameController* controller)
{
    const auto button = [controller](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(controller, b) != 0; };
    const auto axis = [controller](SDL_GameControllerAxis a) {
        return static_cast<float>(SDL_GameControllerGetAxis(controller, a)) / SDL_JOYSTICK_AXIS_MAX;
    };
    return {.up = button(SDL_CONTROLLER_BUTTON_DPAD_UP),
            .down = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
            .left = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT),
            .right = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
            .stickX = axis(SDL_CONTROLLER_AXIS_LEFTX),
            .stickY = axis(SDL_CONTROLLER_AXIS_LEFTY),
            .faceButton = button(SDL_CONTROLLER_BUTTON_A)};
}

constexpr auto kLookAfterDeviceChange = std::chrono::seconds(3);
// 60 readings a second at most, as a display's frames.
constexpr int kReadMs = 16;

} // namespace

SdlControllers::SdlControllers(app::Input& input) : m_input(input)
{
    // The game has no SDL window: read the pads whichever window has the focus; the input decides
    // what a reading counts for without it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        // The game plays on with the keyboard; say why no controller answers.
        std::fprintf(stderr, "glouto: no game controllers: %s\n", SDL_GetError());
        return;
    }
    m_ready = true;
    m_poll.setInterval(kReadMs);
    connect(&m_poll, &QTimer::timeout, this, &SdlControllers::look);
    m_devices.addPath(QStringLiteral("/dev/input"));
    connect(&m_devices, &QFileSystemWatcher::directoryChanged, this, &SdlControllers::keepLooking);
    look();
}

SdlControllers::~SdlControllers()
{
    if (!m_ready)
        return;
    for (const auto& [id, open] : m_open)
        SDL_GameControllerClose(open.controller);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlControllers::keepLooking()
{
    m_lookUntil = std::chrono::steady_clock::now() + kLookAfterDeviceChange;
    look();
}

void SdlControllers::look()
{
    if (!m_ready)
        return;
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED, SDL_CONTROLLERDEVICEREMOVED) > 0) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) {
            if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which)) {
                const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
                m_open.emplace(id, Open{controller, {}});
            }
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
            if (const auto gone = m_open.find(event.cdevice.which); gone != m_open.end()) {
                SDL_GameControllerClose(gone->second.controller);
                m_open.erase(gone);
                m_input.controllerGone(event.cdevice.which);
            }
        }
    }
    // Nothing else of SDL's is read: its queue must not fill up with what nobody takes.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    read();
    const bool looking = !m_open.empty() || std::chrono::steady_clock::now() < m_lookUntil;
    if (looking && !m_poll.isActive())
        m_poll.start();
    else if (!looking)
        m_poll.stop();
}

void SdlControllers::read()
{
    for (auto& [id, open] : m_open) {
        const app::ControllerState state = stateOf(open.controller);
        if (state != open.last) {
            open.last = state;
            m_input.controllerRead(id, state);
        }
    }
}
