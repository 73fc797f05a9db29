// The desktop's platform backend on SDL2: sdl_driver.cpp provides every
// duty of backend.h. Its one addition is the key table, open for tests.
#ifndef VXE_PLATFORM_SDL_DRIVER_H
#define VXE_PLATFORM_SDL_DRIVER_H

// Key code 0..255 (the engine's numbering, inputevents.h) for an SDL
// scancode; 0 for keys the engine has no code for.
int vxe_scancodetokey(int scancode);

#endif
