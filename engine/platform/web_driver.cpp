// The browser's platform backend: the canvas and its WebGL 2 context (the
// engine's GL 1.x calls run on emscripten's legacy GL emulation), the
// page's keyboard, pointer and wheel events, and the performance clock.
// The page's own script (web/page.js) owns the layout, the start screen,
// Web Audio and the frame pacing; the calls below reach it through
// Module.floxaPage. There is one thread: events arrive while the program
// waits in vxe_driver_present for the next display frame.
#include "engine/platform/web_driver.h"

#include "engine/platform/backend.h"
#include "engine/platform/inputevents.h"
#include "engine/sound/audiodriver_web.h"

#include <GL/glew.h>
#include <emscripten.h>
#include <emscripten/html5.h>
#include <stdio.h>
#include <string.h>

int VXE_shaders_enabled = 0;

static const char *const CANVAS = "#screen";

static struct {
    int context;                // 1 once the canvas has its GL context
    int quitposted, closerequested, ignoreinput;
    int frames;                 // presented so far
    unsigned char keys[256];    // down right now, from the key messages
    double clientx, clienty;    // last pointer position in page pixels
    int buttons;                // held now, for releasing on blur
} g_web;

// ---- the page ----

EM_JS(void, page_fail, (const char *text), { Module.floxaPage.fail(UTF8ToString(text)); });
EM_JS(int, page_canvaswidth, (), { return Module.floxaPage.canvasSize()[0]; });
EM_JS(int, page_canvasheight, (), { return Module.floxaPage.canvasSize()[1]; });
EM_JS(int, page_frameclock, (), { return Module.floxaPage.frameClock() ? 1 : 0; });
EM_JS(void, page_ended, (int status), { Module.floxaPage.ended(status); });
EM_JS(void, page_showcursor, (int show), { Module.floxaPage.showCursor(show); });
EM_JS(void, page_settitle, (const char *text), { document.title = UTF8ToString(text); });
// Page position to canvas pixel, through the canvas's box on the page.
EM_JS(void, page_tocanvas, (double cx, double cy, int *x, int *y), {
    var c = Module.canvas, r = c.getBoundingClientRect();
    var sx = r.width > 0 ? c.width / r.width : 1, sy = r.height > 0 ? c.height / r.height : 1;
    HEAP32[x >> 2] = Math.floor((cx - r.left) * sx);
    HEAP32[y >> 2] = Math.floor((cy - r.top) * sy);
});
// The canvas's WebGL 2 context, made through emscripten's own path so that
// its GL emulation sets itself up on it.
EM_JS(int, page_createcontext, (int preserve), {
    return Browser.createContext(Module.canvas, true, true, {
        majorVersion: 2, minorVersion: 0, alpha: false, depth: true, stencil: false, antialias: false,
        preserveDrawingBuffer: !!preserve, powerPreference: 'high-performance' }) ? 1 : 0;
});
// Back to the browser until the next frame is due; the page decides when.
EM_ASYNC_JS(void, page_nextframe, (int frame), { await Module.floxaPage.nextFrame(frame); });

void vxe_web_fail(const char *text)
{
    fprintf(stderr, "%s\n", text);
    page_fail(text);
}

void vxe_web_canvassize(int *width, int *height)
{
    *width = page_canvaswidth();
    *height = page_canvasheight();
}

void vxe_web_ended(int status)
{
    page_ended(status);
}

int vxe_web_frameclock()
{
    return page_frameclock();
}

// ---- keyboard ----

// The browser's key codes are the platform numbering the tables use for
// every key the show reads; a few punctuation keys differ in some browsers.
static int keyof(const EmscriptenKeyboardEvent *e)
{
    const unsigned long code = e->keyCode;
    if (code == 59) return 186;  // ; in Firefox
    if (code == 61) return 187;  // =
    if (code == 173) return 189; // -
    return code < 256 ? (int)code : 0;
}

// Keys the page would otherwise use to scroll or move the focus.
static bool pagekey(int key)
{
    return key == VXE_KEY_SPACE || key == VXE_KEY_TAB || key == VXE_KEY_BACKSPACE ||
           (key >= VXE_KEY_PAGEUP && key <= VXE_KEY_DOWN);
}

static EM_BOOL onkey(int type, const EmscriptenKeyboardEvent *e, void *)
{
    const int key = keyof(e);
    // Alt combinations and F10 belong to the browser, as they belong to the
    // system on the desktop.
    if (!key || e->altKey || key == VXE_KEY_ALT || key == VXE_KEY_F10 || g_web.ignoreinput) return EM_FALSE;
    if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
        g_web.keys[key] = 1;
        vxe_msg_keydown(key);
    } else {
        g_web.keys[key] = 0;
        vxe_msg_keyup(key);
    }
    return pagekey(key) ? EM_TRUE : EM_FALSE;
}

// A tab switch or a click elsewhere swallows the key-ups: let everything go.
static EM_BOOL onblur(int, const EmscriptenFocusEvent *, void *)
{
    for (int key = 0; key < 256; key++)
        if (g_web.keys[key]) {
            g_web.keys[key] = 0;
            vxe_msg_keyup(key);
        }
    for (int bit = 1; bit <= 4; bit <<= 1)
        if (g_web.buttons & bit) vxe_msg_buttonup(bit);
    g_web.buttons = 0;
    return EM_FALSE;
}

void vxe_driver_keystate(unsigned char down[256])
{
    if (g_web.ignoreinput) memset(down, 0, 256);
    else memcpy(down, g_web.keys, 256);
}

// ---- pointer ----

static int mousebit(unsigned short button)
{
    switch (button) {
    case 0: return 1;
    case 2: return 2;
    case 1: return 4;
    default: return 0;
    }
}

static EM_BOOL onmouse(int type, const EmscriptenMouseEvent *e, void *)
{
    g_web.clientx = e->clientX;
    g_web.clienty = e->clientY;
    if (g_web.ignoreinput) return EM_FALSE;
    const int bit = mousebit(e->button);
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && bit) {
        g_web.buttons |= bit;
        vxe_msg_buttondown(bit);
        return EM_TRUE; // no text selection, no focus change
    }
    // A release anywhere on the page ends the press, as a captured mouse does.
    if (type == EMSCRIPTEN_EVENT_MOUSEUP && bit && (g_web.buttons & bit)) {
        g_web.buttons &= ~bit;
        vxe_msg_buttonup(bit);
    }
    return EM_FALSE;
}

static EM_BOOL onwheel(int, const EmscriptenWheelEvent *e, void *)
{
    // Positive deltaY scrolls down, which is a step towards the user.
    if (!g_web.ignoreinput && e->deltaY != 0) vxe_msg_wheel(e->deltaY < 0 ? 1 : -1);
    return EM_TRUE;
}

void vxe_driver_getcursor(int *x, int *y)
{
    page_tocanvas(g_web.clientx, g_web.clienty, x, y);
}

void vxe_driver_warpcursor(int, int)
{
    // A page cannot move the pointer.
}

void vxe_driver_showcursor(int show)
{
    page_showcursor(show);
}

// ---- joysticks: none in the page ----

int vxe_driver_numjoysticks()
{
    return 0;
}

int vxe_driver_joystickpresent(int)
{
    return 0;
}

int vxe_driver_joystickbuttons(int)
{
    return -1;
}

int vxe_driver_readjoystick(int, s_joyreading *out)
{
    *out = s_joyreading{};
    return 0;
}

// ---- messages ----

int vxe_openmessagewindow()
{
    const char *win = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(win, nullptr, EM_TRUE, onkey);
    emscripten_set_keyup_callback(win, nullptr, EM_TRUE, onkey);
    emscripten_set_blur_callback(win, nullptr, EM_TRUE, onblur);
    emscripten_set_mousedown_callback(CANVAS, nullptr, EM_TRUE, onmouse);
    emscripten_set_mouseup_callback(win, nullptr, EM_TRUE, onmouse);
    emscripten_set_mousemove_callback(win, nullptr, EM_TRUE, onmouse);
    emscripten_set_wheel_callback(CANVAS, nullptr, EM_TRUE, onwheel);
    vxe_msg_windowopened();
    return 1;
}

int vxe_pumpmessages()
{
    return !g_web.quitposted && !g_web.closerequested;
}

void vxe_postquit()
{
    g_web.quitposted = 1;
}

int vxe_closerequested()
{
    return g_web.closerequested;
}

void vxe_requestclose()
{
    g_web.closerequested = 1;
}

void vxe_driver_ignoreinput(int ignore)
{
    g_web.ignoreinput = ignore;
}

void vxe_destroymessagewindow()
{
    emscripten_html5_remove_all_event_listeners();
}

void vxe_setwindowed(int)
{
    // The page chooses the layout; full screen is its button.
}

// ---- window and GL context ----

// Nothing of the engine runs without GL: say so in the page and stop.
static void fatal(const char *text)
{
    vxe_web_fail(text);
    emscripten_force_exit(1);
}

void vxe_initwindow(int width, int height, int)
{
    emscripten_set_canvas_element_size(CANVAS, width, height);
    // On the frame clock a test reads each held frame back from the canvas.
    if (!page_createcontext(vxe_web_frameclock()))
        fatal("This browser refused a WebGL 2 context: FLOXA needs WebGL 2 "
              "(a current Firefox, Chrome, Edge or Safari with hardware acceleration on).");
    g_web.context = 1;

    puts("[VXE] Init Glew");
    // WebGL 2 is OpenGL ES 3.0, which has everything of GL 2.0 the engine uses.
    const char *version = (const char *)glGetString(GL_VERSION);
    if (!version || !strstr(version, "OpenGL ES"))
        fatal("This browser's WebGL context offers no OpenGL ES: FLOXA cannot draw here.");
    puts("\nReady for GLSL");
    VXE_shaders_enabled = 1;
    page_showcursor(0);
}

// The context goes with the page; nothing draws after this.
void vxe_closewindow()
{
    g_web.context = 0;
}

void VXE_SetTitle(const char *text)
{
    if (text) page_settitle(text);
}

EM_JS(int, page_screenwidth, (), { return Math.round(screen.width * (window.devicePixelRatio || 1)); });
EM_JS(int, page_screenheight, (), { return Math.round(screen.height * (window.devicePixelRatio || 1)); });

void GetDesktopResolution(int *width, int *height)
{
    if (width) *width = page_screenwidth();
    if (height) *height = page_screenheight();
}

// ---- swap and clock ----

void vxe_driver_present()
{
    // The browser shows the canvas once this task yields; the sound for
    // the coming frames is queued first, since nothing else runs the mixer.
    audiodriver_web_pump();
    page_nextframe(g_web.frames++);
}

void vxe_driver_drawablesize(int *width, int *height)
{
    *width = *height = 0;
    emscripten_get_canvas_element_size(CANVAS, width, height);
}

uint32_t vxe_driver_millis()
{
    return (uint32_t)(uint64_t)emscripten_get_now();
}
