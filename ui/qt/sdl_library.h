// SDL2, loaded only when a game controller may be there: linked in, it would cost every start-up its
// fifty libraries and some 4 MiB.
#pragma once

#include <SDL.h>

#include <memory>

// The SDL calls the controllers need, from the system's libSDL2.
struct SdlLibrary {
    // The library and its calls, or nullptr with the reason on the error stream. Once loaded, the
    // library stays for the process's life: SDL may keep threads of its own.
    static std::unique_ptr<SdlLibrary> load();

    decltype(&SDL_SetHint) SetHint;
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_GetError) GetError;
    decltype(&SDL_PumpEvents) PumpEvents;
    decltype(&SDL_PeepEvents) PeepEvents;
    decltype(&SDL_FlushEvents) FlushEvents;
    decltype(&SDL_GameControllerOpen) GameControllerOpen;
    decltype(&SDL_GameControllerClose) GameControllerClose;
    decltype(&SDL_GameControllerGetJoystick) GameControllerGetJoystick;
    decltype(&SDL_JoystickInstanceID) JoystickInstanceID;
    decltype(&SDL_GameControllerGetButton) GameControllerGetButton;
    decltype(&SDL_GameControllerGetAxis) GameControllerGetAxis;
};
