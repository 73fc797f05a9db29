// The desktop's platform backend on SDL2: every SDL window, GL-context,
// event, cursor and joystick call of the engine, and the monotonic clock.
// Events go to the input module through inputevents.h.
#include "engine/platform/sdl_driver.h"

#include "engine/platform/backend.h"
#include "engine/platform/inputevents.h"

#include <GL/glew.h>
#include <SDL.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

int VXE_shaders_enabled = 0;

enum { MAX_JOYSTICKS = 16 };

// The backend's whole state. The flags are atomic: the message thread and
// the application thread both read and set them.
static struct {
    SDL_Window *window;
    SDL_GLContext context;
    // Serialises window-state calls of the application thread with the
    // event pump of the message thread.
    SDL_mutex *windowlock;
    // 1 when vxe_initwindow made the window itself (no process entry): then
    // nobody else pumps events, so vxe_driver_present does.
    int ownpump;
    int windowed;
    SDL_atomic_t quitposted, closerequested, ignoreinput;
    SDL_Joystick *joysticks[MAX_JOYSTICKS];
} g_sdl;

static void lockwindow()
{
    if (g_sdl.windowlock) SDL_LockMutex(g_sdl.windowlock);
}

static void unlockwindow()
{
    if (g_sdl.windowlock) SDL_UnlockMutex(g_sdl.windowlock);
}

// Ends the process with a message when the window or GL cannot serve at all:
// nothing of the engine could run, and the application thread has no way back
// to the entry. _exit, because the message thread may be inside SDL.
static void fatal(const char *what, const char *detail)
{
    printf("Error: %s%s%s\n", what, detail && *detail ? ": " : "", detail ? detail : "");
    fflush(stdout);
    _exit(1);
}

// ---- keyboard table ----

int vxe_scancodetokey(int sc)
{
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VXE_KEY_F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN: return VXE_KEY_RETURN;
    case SDL_SCANCODE_KP_ENTER: return VXE_KEY_RETURN;
    case SDL_SCANCODE_ESCAPE: return VXE_KEY_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VXE_KEY_BACKSPACE;
    case SDL_SCANCODE_TAB: return VXE_KEY_TAB;
    case SDL_SCANCODE_SPACE: return VXE_KEY_SPACE;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    case SDL_SCANCODE_CAPSLOCK: return VXE_KEY_CAPSLOCK;
    case SDL_SCANCODE_PRINTSCREEN: return 44;
    case SDL_SCANCODE_SCROLLLOCK: return 145;
    case SDL_SCANCODE_PAUSE: return VXE_KEY_PAUSE;
    case SDL_SCANCODE_INSERT: return VXE_KEY_INSERT;
    case SDL_SCANCODE_HOME: return VXE_KEY_HOME;
    case SDL_SCANCODE_PAGEUP: return VXE_KEY_PAGEUP;
    case SDL_SCANCODE_DELETE: return VXE_KEY_DELETE;
    case SDL_SCANCODE_END: return VXE_KEY_END;
    case SDL_SCANCODE_PAGEDOWN: return VXE_KEY_PAGEDOWN;
    case SDL_SCANCODE_RIGHT: return VXE_KEY_RIGHT;
    case SDL_SCANCODE_LEFT: return VXE_KEY_LEFT;
    case SDL_SCANCODE_DOWN: return VXE_KEY_DOWN;
    case SDL_SCANCODE_UP: return VXE_KEY_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_0: return 96;
    case SDL_SCANCODE_KP_PERIOD: return 110;
    case SDL_SCANCODE_APPLICATION: return 93;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return VXE_KEY_CONTROL;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return VXE_KEY_SHIFT;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return VXE_KEY_ALT;
    case SDL_SCANCODE_LGUI: return 91;
    case SDL_SCANCODE_RGUI: return 92;
    default: return 0;
    }
}

void vxe_driver_keystate(unsigned char down[256])
{
    for (int i = 0; i < 256; i++) down[i] = 0;
    if (SDL_AtomicGet(&g_sdl.ignoreinput)) return;
    int count = 0;
    const Uint8 *state = SDL_GetKeyboardState(&count);
    for (int sc = 0; sc < count; sc++) {
        if (!state[sc]) continue;
        int key = vxe_scancodetokey(sc);
        if (key) down[key] = 1;
    }
}

// ---- cursor ----

void vxe_driver_getcursor(int *x, int *y)
{
    // Over the window the motion events give the position. Elsewhere the
    // global position minus the window's, so the reading goes on outside
    // the window, as a client-relative cursor position does. (On X11 the
    // global position is refreshed only on raw input events, which synthetic
    // pointer moves may not produce, so it is not used over the window.)
    int gx = 0, gy = 0, wx = 0, wy = 0;
    if (g_sdl.window && SDL_GetMouseFocus() == g_sdl.window) {
        SDL_GetMouseState(x, y);
        return;
    }
    if (g_sdl.window) {
        SDL_GetGlobalMouseState(&gx, &gy);
        SDL_GetWindowPosition(g_sdl.window, &wx, &wy);
    }
    *x = gx - wx;
    *y = gy - wy;
}

void vxe_driver_warpcursor(int x, int y)
{
    if (g_sdl.window) SDL_WarpMouseInWindow(g_sdl.window, x, y);
}

void vxe_driver_showcursor(int show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

// ---- joysticks ----

int vxe_driver_numjoysticks()
{
    return MAX_JOYSTICKS;
}

int vxe_driver_joystickpresent(int id)
{
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return 0;
    return id >= 0 && id < MAX_JOYSTICKS && id < SDL_NumJoysticks();
}

static SDL_Joystick *openjoystick(int id)
{
    if (!vxe_driver_joystickpresent(id)) return nullptr;
    SDL_Joystick *joy = g_sdl.joysticks[id];
    if (joy && SDL_JoystickGetAttached(joy)) return joy;
    if (joy) SDL_JoystickClose(joy);
    g_sdl.joysticks[id] = SDL_JoystickOpen(id);
    return g_sdl.joysticks[id];
}

int vxe_driver_joystickbuttons(int id)
{
    SDL_Joystick *joy = openjoystick(id);
    return joy ? SDL_JoystickNumButtons(joy) : -1;
}

static uint32_t axisvalue(SDL_Joystick *joy, int axis)
{
    if (axis >= SDL_JoystickNumAxes(joy)) return 32767;
    return (uint32_t)(SDL_JoystickGetAxis(joy, axis) + 32768);
}

int vxe_driver_readjoystick(int id, s_joyreading *out)
{
    *out = s_joyreading{};
    SDL_Joystick *joy = openjoystick(id);
    if (!joy) return 0;
    if (g_sdl.ownpump) SDL_JoystickUpdate();
    out->x = axisvalue(joy, 0);
    out->y = axisvalue(joy, 1);
    out->z = axisvalue(joy, 2);
    out->r = axisvalue(joy, 3);
    out->pov = 65535;
    if (SDL_JoystickNumHats(joy) > 0) {
        switch (SDL_JoystickGetHat(joy, 0)) {
        case SDL_HAT_UP: out->pov = 0; break;
        case SDL_HAT_RIGHTUP: out->pov = 4500; break;
        case SDL_HAT_RIGHT: out->pov = 9000; break;
        case SDL_HAT_RIGHTDOWN: out->pov = 13500; break;
        case SDL_HAT_DOWN: out->pov = 18000; break;
        case SDL_HAT_LEFTDOWN: out->pov = 22500; break;
        case SDL_HAT_LEFT: out->pov = 27000; break;
        case SDL_HAT_LEFTUP: out->pov = 31500; break;
        default: break;
        }
    }
    int buttons = SDL_JoystickNumButtons(joy);
    for (int b = 0; b < buttons && b < 32; b++)
        if (SDL_JoystickGetButton(joy, b)) out->buttons |= 1u << b;
    return 1;
}

// ---- events ----

static int mousebit(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 4;
    default: return 0;
    }
}

// Keys held with Alt, Alt itself and F10 are system keys: the window leaves
// them to the system, so they never reach the key table through messages.
static int systemkey(const SDL_KeyboardEvent &k, int key)
{
    return key == VXE_KEY_ALT || key == VXE_KEY_F10 || (k.keysym.mod & KMOD_ALT);
}

// Turns one SDL event into the window-message effects; events that are no
// message to the window (joystick, audio device, SDL's own bookkeeping)
// have none.
static void translate(const SDL_Event &e)
{
    if (SDL_AtomicGet(&g_sdl.ignoreinput) && e.type != SDL_QUIT) return;
    switch (e.type) {
    case SDL_QUIT:
        SDL_AtomicSet(&g_sdl.closerequested, 1);
        break;
    case SDL_MOUSEBUTTONDOWN:
        vxe_msg_buttondown(mousebit(e.button.button));
        break;
    case SDL_MOUSEBUTTONUP:
        vxe_msg_buttonup(mousebit(e.button.button));
        break;
    case SDL_MOUSEWHEEL: {
        // Only vertical scrolling is a wheel message; a sideways scroll is
        // some other message and leaves the wheel alone. A fraction of a
        // notch (smooth wheels) is still a message, hence one step.
        float delta = e.wheel.preciseY;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
        if (delta != 0) vxe_msg_wheel(delta < 0 ? -1 : 1);
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int key = vxe_scancodetokey(e.key.keysym.scancode);
        if (!key || systemkey(e.key, key)) break;
        if (e.type == SDL_KEYDOWN) vxe_msg_keydown(key);
        else vxe_msg_keyup(key);
        break;
    }
    default:
        break;
    }
}

static void pumpall()
{
    SDL_Event e;
    lockwindow();
    while (SDL_PollEvent(&e)) translate(e);
    unlockwindow();
}

// ---- window ----

static void setglattributes(int depth)
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// The GL visual is chosen when the window is made, so the pixel format is
// asked for here. 32 depth bits where the display has them, else the nearest
// it offers, as a pixel-format choice would give.
static SDL_Window *createwindow()
{
    static const int depths[] = {32, 24, 16};
    for (int depth : depths) {
        setglattributes(depth);
        SDL_Window *w = SDL_CreateWindow("VXE Application", 0, 0, 10, 10,
                                         SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (w) return w;
    }
    return nullptr;
}

// Starts SDL video and makes the hidden window; returns what failed, or null.
static const char *openwindow()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return "cannot open the display";
    g_sdl.window = createwindow();
    if (!g_sdl.window) return "cannot create the window";
    // The engine draws its own cursor; the system one stays out of the window.
    SDL_ShowCursor(SDL_DISABLE);
    vxe_msg_windowopened();
    return nullptr;
}

int vxe_openmessagewindow()
{
    if (const char *failed = openwindow()) {
        printf("Error: %s: %s\n", failed, SDL_GetError());
        SDL_Quit();
        return 0;
    }
    // Joysticks are optional: without them the keyboard still plays.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        printf("[VXE] No joysticks: %s\n", SDL_GetError());
    g_sdl.windowlock = SDL_CreateMutex();
    return 1;
}

int vxe_pumpmessages()
{
    SDL_Event e;
    lockwindow();
    int got = SDL_PollEvent(&e);
    if (got) translate(e);
    unlockwindow();
    if (!got) SDL_Delay(1);
    return !SDL_AtomicGet(&g_sdl.quitposted) && !SDL_AtomicGet(&g_sdl.closerequested);
}

void vxe_postquit()
{
    SDL_AtomicSet(&g_sdl.quitposted, 1);
}

int vxe_closerequested()
{
    return SDL_AtomicGet(&g_sdl.closerequested);
}

void vxe_requestclose()
{
    SDL_AtomicSet(&g_sdl.closerequested, 1);
}

void vxe_driver_ignoreinput(int ignore)
{
    SDL_AtomicSet(&g_sdl.ignoreinput, ignore);
}

void vxe_destroymessagewindow()
{
    for (SDL_Joystick *&joy : g_sdl.joysticks) {
        if (joy) SDL_JoystickClose(joy);
        joy = nullptr;
    }
    if (g_sdl.window) SDL_DestroyWindow(g_sdl.window);
    g_sdl.window = nullptr;
    if (g_sdl.windowlock) SDL_DestroyMutex(g_sdl.windowlock);
    g_sdl.windowlock = nullptr;
    SDL_Quit();
}

void vxe_setwindowed(int windowed)
{
    g_sdl.windowed = windowed;
}

// Switches to full screen only when the display offers exactly the asked
// size: a nearest larger mode would stretch a picture drawn for width x height.
static void requestfullscreen(int width, int height)
{
    int display = SDL_GetWindowDisplayIndex(g_sdl.window);
    if (display < 0) return;
    SDL_DisplayMode want = {SDL_PIXELFORMAT_RGB888, width, height, 60, nullptr};
    SDL_DisplayMode got;
    if (!SDL_GetClosestDisplayMode(display, &want, &got)) return;
    if (got.w != width || got.h != height) return;
    if (SDL_SetWindowDisplayMode(g_sdl.window, &got) != 0) return;
    SDL_SetWindowPosition(g_sdl.window, 0, 0);
    if (SDL_SetWindowFullscreen(g_sdl.window, SDL_WINDOW_FULLSCREEN) != 0)
        SDL_SetWindowPosition(g_sdl.window, 10, 10);
}

void vxe_initwindow(int width, int height, int flags)
{
    if (!g_sdl.window) {
        // No process entry: make the window here and pump our own events.
        if (const char *failed = openwindow()) fatal(failed, SDL_GetError());
        g_sdl.ownpump = 1;
    }

    // The context comes first: if GL cannot serve, the process ends before
    // the display mode has been touched.
    lockwindow();
    SDL_SetWindowResizable(g_sdl.window, SDL_FALSE);
    SDL_SetWindowSize(g_sdl.window, width, height);
    SDL_SetWindowPosition(g_sdl.window, 10, 10);
    unlockwindow();
    g_sdl.context = SDL_GL_CreateContext(g_sdl.window);
    if (!g_sdl.context) fatal("cannot create an OpenGL context", SDL_GetError());
    SDL_GL_MakeCurrent(g_sdl.window, g_sdl.context);

    puts("[VXE] Init Glew");
    glewExperimental = GL_TRUE;
    // GLEW's own reason tells a GLX build on an EGL-only display from a
    // missing driver; the version check below decides whether to go on.
    const GLenum glew = glewInit();
    if (glew != GLEW_OK) printf("\nError Initing Glew: %s\n", (const char *)glewGetErrorString(glew));
    // The version string is what the context promises; GLEW's flag alone
    // can report 2.0 for a context that says otherwise.
    const char *version = (const char *)glGetString(GL_VERSION);
    int major = 0;
    if (!version || sscanf(version, "%d", &major) != 1 || major < 2 || !GLEW_VERSION_2_0 ||
        !glCreateShader)
        fatal("OpenGL 2.0 or later is needed, this display offers", version ? version : "none");
    puts("\nReady for GLSL");
    VXE_shaders_enabled = 1;
    if (!GLEW_EXT_framebuffer_object)
        puts("[VXE] No framebuffer objects: pictures go through the back buffer");

    lockwindow();
    if ((flags & 1) && !g_sdl.windowed) requestfullscreen(width, height);
    SDL_ShowWindow(g_sdl.window);
    SDL_RaiseWindow(g_sdl.window);
    unlockwindow();
    if (g_sdl.ownpump) pumpall();
}

void vxe_closewindow()
{
    if (!g_sdl.context) return;
    SDL_GL_MakeCurrent(g_sdl.window, nullptr);
    SDL_GL_DeleteContext(g_sdl.context);
    g_sdl.context = nullptr;
}

void vxe_driver_present()
{
    if (!g_sdl.window) return;
    SDL_GL_SwapWindow(g_sdl.window);
    if (g_sdl.ownpump) pumpall();
}

void vxe_driver_drawablesize(int *width, int *height)
{
    *width = *height = 0;
    if (g_sdl.window) SDL_GL_GetDrawableSize(g_sdl.window, width, height);
}

uint32_t vxe_driver_millis()
{
    // Monotonic: wall-clock steps (NTP, the user) must not stall the pacing.
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)((uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u);
}

void VXE_SetTitle(const char *text)
{
    if (!g_sdl.window || !text) return;
    lockwindow();
    SDL_SetWindowTitle(g_sdl.window, text);
    unlockwindow();
}

void GetDesktopResolution(int *width, int *height)
{
    SDL_DisplayMode mode;
    int display = g_sdl.window ? SDL_GetWindowDisplayIndex(g_sdl.window) : 0;
    if (display < 0 || SDL_GetDesktopDisplayMode(display, &mode) != 0) {
        mode.w = 0;
        mode.h = 0;
    }
    if (width) *width = mode.w;
    if (height) *height = mode.h;
}
