// Opening libSDL2 at run time and finding its calls.
#include "ui/qt/sdl_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <type_traits>

std::unique_ptr<SdlLibrary> SdlLibrary::load()
{
    void* handle = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "glouto: no game controllers without SDL2: %s\n", dlerror());
        return nullptr;
    }
    auto sdl = std::make_unique<SdlLibrary>();
    bool found = true;
    const auto find = [&](auto& call, const char* name) {
        call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(handle, name));
        found = found && call;
    };
    find(sdl->SetHint, "SDL_SetHint");
    find(sdl->InitSubSystem, "SDL_InitSubSystem");
    find(sdl->QuitSubSystem, "SDL_QuitSubSystem");
    find(sdl->GetError, "SDL_GetError");
    find(sdl->PumpEvents, "SDL_PumpEvents");
    find(sdl->PeepEvents, "SDL_PeepEvents");
    find(sdl->FlushEvents, "SDL_FlushEvents");
    find(sdl->GameControllerOpen, "SDL_GameControllerOpen");
    find(sdl->GameControllerClose, "SDL_GameControllerClose");
    find(sdl->GameControllerGetJoystick, "SDL_GameControllerGetJoystick");
    find(sdl->JoystickInstanceID, "SDL_JoystickInstanceID");
    find(sdl->GameControllerGetButton, "SDL_GameControllerGetButton");
    find(sdl->GameControllerGetAxis, "SDL_GameControllerGetAxis");
    if (!found) {
        std::fprintf(stderr, "glouto: no game controllers: this libSDL2 lacks a call the game needs\n");
        return nullptr;
    }
    return sdl;
}
