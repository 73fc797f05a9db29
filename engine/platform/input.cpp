// Raw input logic on top of the platform backend: the effects of window
// messages on the input globals, the keyboard joystick, the engine key
// codes, the mouse modes and wheel, and the joystick conversion tables.
#include "engine/platform/input.h"

#include "engine/platform/backend.h"
#include "engine/platform/inputscript.h"

volatile int VXE_keys[256];
volatile int VXE_joykey;
volatile int vxe_input_prevkey;
volatile int vxe_keycode;
volatile int vxe_input_prevkeycode;
volatile int vxe_input_mouse_mode;
volatile int vxe_mouse_x, vxe_mouse_y;
volatile int vxe_mouse_oldx, vxe_mouse_oldy;
volatile int vxe_mouse_z;
volatile int vxe_mouse_zdir;
volatile int vxe_mouse_buttons;

static void (*g_keystatesource)(unsigned char down[256]) = nullptr;
static int (*g_joysticksource)(int id, int *numbuttons, s_joyreading *out) = nullptr;
static int g_cursorcount = 0;
static void (*g_mousemap)(int *x, int *y) = nullptr;

// ---- window messages ----

// Buttons pressed since the application last read the mouse. The message
// thread adds bits while the application thread takes them all, so both
// sides change it atomically.
static int g_pressedsince;

void vxe_msg_buttondown(int bit)
{
    __atomic_fetch_or(&g_pressedsince, bit, __ATOMIC_SEQ_CST);
    vxe_mouse_buttons = vxe_mouse_buttons | bit;
}

void vxe_msg_buttonup(int bit)
{
    vxe_mouse_buttons = vxe_mouse_buttons & ~bit;
}

void vxe_msg_wheel(int delta)
{
    int16_t d = (int16_t)delta;
    vxe_mouse_zdir = 0;
    if (d < 0) {
        vxe_mouse_zdir = -1;
        vxe_mouse_z = vxe_mouse_z - 1;
    } else if (d > 0) {
        vxe_mouse_zdir = 1;
        vxe_mouse_z = vxe_mouse_z + 1;
    }
}

void vxe_msg_windowopened()
{
    vxe_mouse_x = vxe_mouse_y = 0;
    vxe_mouse_z = vxe_mouse_zdir = 0;
    vxe_mouse_buttons = 0;
    __atomic_store_n(&g_pressedsince, 0, __ATOMIC_SEQ_CST);
}

void vxe_msg_keydown(int key)
{
    key &= 0xFF;
    VXE_keys[key] = 1;
    vxe_keycode = key;
}

void vxe_msg_keyup(int key)
{
    VXE_keys[key & 0xFF] = 0;
    if (key == vxe_keycode) {
        vxe_keycode = 0;
        vxe_input_prevkeycode = 0;
    }
}

// ---- keyboard ----

struct keybit {
    int key;
    int bit;
};

static const keybit joykeys[] = {
    {VXE_KEY_UP, 0x0001},     {VXE_KEY_DOWN, 0x0002},    {VXE_KEY_LEFT, 0x0004},
    {VXE_KEY_RIGHT, 0x0008},  {VXE_KEY_SPACE, 0x0010},   {VXE_KEY_CONTROL, 0x0020},
    {VXE_KEY_SHIFT, 0x0040},  {'Z', 0x0080},             {'X', 0x0100},
    {'C', 0x0400},            {VXE_KEY_RETURN, 0x1000},  {'1', 0x1000},
    {VXE_KEY_BACKSPACE, 0x2000}, {'2', 0x2000},          {VXE_KEY_ESCAPE, VXE_JOY_ESCAPE},
};

// Key code -> engine key code for the special keys; F1..F12 follow in a run.
static const keybit enginecodes[] = {
    {VXE_KEY_ESCAPE, 0xF000},   {VXE_KEY_UP, 0xF001},       {VXE_KEY_DOWN, 0xF002},
    {VXE_KEY_LEFT, 0xF003},     {VXE_KEY_RIGHT, 0xF004},    {VXE_KEY_RETURN, 0xF010},
    {VXE_KEY_SHIFT, 0xF011},    {VXE_KEY_SPACE, 0xF012},    {VXE_KEY_CONTROL, 0xF013},
    {VXE_KEY_ALT, 0xF014},      {VXE_KEY_BACKSPACE, 0xF020}, {VXE_KEY_INSERT, 0xF021},
    {VXE_KEY_DELETE, 0xF022},   {VXE_KEY_PAGEUP, 0xF023},   {VXE_KEY_PAGEDOWN, 0xF024},
    {VXE_KEY_HOME, 0xF025},     {VXE_KEY_END, 0xF026},      {VXE_KEY_CAPSLOCK, 0xF027},
    {VXE_KEY_TAB, 0xF028},
};

void vxe_setkeystatesource(void (*read)(unsigned char down[256]))
{
    g_keystatesource = read;
}

void vxe_getkeys()
{
    unsigned char down[256];
    if (g_keystatesource) g_keystatesource(down);
    else vxe_driver_keystate(down);
    vxe_scriptkeys(down);
    for (int i = 0; i < 256; i++) VXE_keys[i] = down[i] ? 0x8000 : 0;
    int mask = 0;
    for (const keybit &k : joykeys)
        if (VXE_keys[k.key]) mask |= k.bit;
    VXE_joykey = mask;
}

int vxe_keytoengine(int key)
{
    if (key >= VXE_KEY_F1 && key <= VXE_KEY_F12) return 0xF030 + (key - VXE_KEY_F1);
    for (const keybit &k : enginecodes)
        if (k.key == key) return k.bit;
    return key;
}

int vxe_enginetokey(int code)
{
    if (code < 0xF000) return code >= 0 && code < 256 ? code : -1;
    if (code >= 0xF030 && code <= 0xF03B) return VXE_KEY_F1 + (code - 0xF030);
    for (const keybit &k : enginecodes)
        if (k.bit == code) return k.key;
    return -1;
}

int vxe_getkeycode()
{
    return vxe_keytoengine(vxe_keycode);
}

// ---- mouse ----

void vxe_getmouse(int *x, int *y, int *buttons)
{
    int cx, cy;
    const int scripted = vxe_inputscriptactive();
    if (scripted) vxe_scriptpointer(&cx, &cy);
    else vxe_driver_getcursor(&cx, &cy);
    if (vxe_input_mouse_mode == 2) {
        vxe_mouse_oldx = vxe_mouse_x;
        vxe_mouse_oldy = vxe_mouse_y;
        vxe_mouse_x = cx;
        vxe_mouse_y = cy;
        *x = cx - vxe_mouse_oldx;
        *y = cy - vxe_mouse_oldy;
    } else {
        // Modes 0 and 1 both give the client position: subtracting the window's
        // screen position too would put clicks off by it outside full screen.
        // A map installed by the application turns it into its own picture's
        // coordinates, so every reader of the pointer agrees on them.
        // A script already speaks in those coordinates.
        if (g_mousemap && !scripted) g_mousemap(&cx, &cy);
        vxe_mouse_x = cx;
        vxe_mouse_y = cy;
        *x = cx;
        *y = cy;
    }
    *buttons = vxe_mouse_buttons | __atomic_exchange_n(&g_pressedsince, 0, __ATOMIC_SEQ_CST);
}

void vxe_setmousemap(void (*map)(int *x, int *y))
{
    g_mousemap = map;
}

void vxe_setmouse(int x, int y)
{
    vxe_driver_warpcursor(x, y);
}

// Counting show/hide. The window has no cursor image of its own (the engine
// draws one), so the system cursor appears only when shows outnumber hides.
void vxe_showmouse()
{
    g_cursorcount++;
    vxe_driver_showcursor(g_cursorcount > 0);
}

void vxe_hidemouse()
{
    g_cursorcount--;
    vxe_driver_showcursor(g_cursorcount > 0);
}

void vxe_getmousewheel(int *z, int *zdir)
{
    *z = vxe_mouse_z;
    *zdir = vxe_mouse_zdir;
    vxe_mouse_zdir = 0;
}

// ---- joysticks ----

// Controller bit per platform button bit (bit 0 first), by pad type.
static const int buttons10[14] = {0x0010, 0x0020, 0x0040, 0x0080, 0x0100, 0x0400, 0x2000,
                                    0x1000, 0x4000, 0x4000, 0, 0, 0, 0};
static const int buttons14[14] = {0x0040, 0x0010, 0x0020, 0x0080, 0x0100, 0x0400, 0x0200,
                                    0x0800, 0x1000, 0x2000, 0x4000, 0x4000, 0x8000, 0x1000};
static const int buttonsother[14] = {0x0080, 0x0020, 0x0010, 0x0040, 0x0200, 0x0800, 0x0100,
                                       0x0400, 0x1000, 0x2000, 0x4000, 0x4000, 0, 0};

int vxe_joypadtype(int numbuttons)
{
    if (numbuttons < 0) return 0;
    if (numbuttons == 10) return 1;
    if (numbuttons == 14) return 2;
    if (numbuttons == 12) return 4;
    return 3;
}

int vxe_joyhatbits(uint32_t pov)
{
    uint32_t deg = pov / 100;
    if (deg >= 361) return 0;
    int bits = 0;
    if (deg < 46 || deg >= 315) bits |= 0x1;
    if (deg >= 135 && deg <= 225) bits |= 0x2;
    if (deg >= 45 && deg <= 135) bits |= 0x8;
    if (deg >= 225 && deg <= 315) bits |= 0x4;
    return bits;
}

int vxe_joybuttonbits(int padtype, uint32_t buttons)
{
    const int *table = padtype == 1 ? buttons10 : padtype == 2 ? buttons14 : buttonsother;
    int bits = 0;
    for (int i = 0; i < 14; i++)
        if (buttons & (1u << i)) bits |= table[i];
    return bits;
}

int vxe_joyaxis(uint32_t value)
{
    return ((int)value - 32767) >> 8;
}

void vxe_setjoysticksource(int (*read)(int id, int *numbuttons, s_joyreading *out))
{
    g_joysticksource = read;
}

int vxe_getnumjoysticks()
{
    return vxe_driver_numjoysticks();
}

bool vxe_joystickconnected(int id)
{
    if (g_joysticksource) {
        int n;
        s_joyreading r;
        return g_joysticksource(id, &n, &r) != 0;
    }
    return vxe_driver_joystickpresent(id) != 0;
}

int vxe_initjoystick(int id)
{
    return id;
}

int vxe_polljoystick(int id, int *x, int *y, int *z, int *r, int *buttons)
{
    s_joyreading raw;
    int numbuttons = -1;
    int ok;
    if (g_joysticksource) {
        ok = g_joysticksource(id, &numbuttons, &raw);
    } else {
        numbuttons = vxe_driver_joystickbuttons(id);
        ok = vxe_driver_readjoystick(id, &raw);
    }
    if (!ok) {
        *x = *y = *z = *r = *buttons = 0;
        return 0;
    }
    *x = vxe_joyaxis(raw.x);
    *y = vxe_joyaxis(raw.y);
    *z = vxe_joyaxis(raw.z);
    *r = vxe_joyaxis(raw.r);
    *buttons = vxe_joyhatbits(raw.pov) | vxe_joybuttonbits(vxe_joypadtype(numbuttons), raw.buttons);
    return 1;
}
