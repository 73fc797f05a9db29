// What a platform backend reports to the input module: key codes in the
// engine's numbering, and one call per window message. The input module
// keeps the state; a backend only calls these (message thread).
#ifndef VXE_PLATFORM_INPUTEVENTS_H
#define VXE_PLATFORM_INPUTEVENTS_H

// Key codes of the platform numbering (0..255) that the tables use.
enum {
    VXE_KEY_BACKSPACE = 8, VXE_KEY_TAB = 9, VXE_KEY_RETURN = 13,
    VXE_KEY_SHIFT = 16, VXE_KEY_CONTROL = 17, VXE_KEY_ALT = 18,
    VXE_KEY_PAUSE = 19, VXE_KEY_CAPSLOCK = 20, VXE_KEY_ESCAPE = 27,
    VXE_KEY_SPACE = 32, VXE_KEY_PAGEUP = 33, VXE_KEY_PAGEDOWN = 34,
    VXE_KEY_END = 35, VXE_KEY_HOME = 36, VXE_KEY_LEFT = 37, VXE_KEY_UP = 38,
    VXE_KEY_RIGHT = 39, VXE_KEY_DOWN = 40, VXE_KEY_INSERT = 45,
    VXE_KEY_DELETE = 46, VXE_KEY_F1 = 112, VXE_KEY_F10 = 121, VXE_KEY_F12 = 123
};

// A button's bit is held from its down message to its own up message,
// whatever other messages come between.
void vxe_msg_buttondown(int bit);       // 1 left, 2 right, 4 middle
void vxe_msg_buttonup(int bit);
void vxe_msg_wheel(int delta);          // signed wheel delta, one step per message
void vxe_msg_keydown(int key);          // key code, low 8 bits used
void vxe_msg_keyup(int key);
// A new window: no button held, the pointer and the wheel at rest.
void vxe_msg_windowopened();

#endif
