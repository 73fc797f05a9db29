// Raw input: the global key, mouse, wheel and joystick state that the
// controller layer and the application read, and the reads built on the
// platform backend. The input module owns this state: a backend reports
// window messages through inputevents.h and writes none of it.
//
// The message thread's events change the key table, the last key code and
// the mouse buttons and wheel; the application thread refreshes the key table once a
// frame and reads the rest. Every shared value is one aligned 32-bit word,
// written whole; readers take whatever value is current.
#ifndef VXE_PLATFORM_INPUT_H
#define VXE_PLATFORM_INPUT_H

#include <stdint.h>

#include "engine/platform/inputevents.h"

struct s_joyreading;  // raw joystick read, backend.h

// ---- global input state ----

extern volatile int VXE_keys[256];         // per key code: 1/0 from messages, 0x8000/0 after vxe_getkeys
extern volatile int VXE_joykey;            // keyboard joystick mask built by vxe_getkeys
enum { VXE_JOY_ESCAPE = 0x8000 };          // its bit for Escape
extern volatile int vxe_input_prevkey;     // previous VXE_joykey (edge detection)
extern volatile int vxe_keycode;           // key code of the last key-down, 0 once released
extern volatile int vxe_input_prevkeycode; // previous engine key code (edge detection)
extern volatile int vxe_input_mouse_mode;  // 0, 1 or 2, see vxe_getmouse
extern volatile int vxe_mouse_x, vxe_mouse_y;
extern volatile int vxe_mouse_oldx, vxe_mouse_oldy;
extern volatile int vxe_mouse_z;           // accumulated wheel steps
extern volatile int vxe_mouse_zdir;        // direction of the last wheel step: -1, 0, 1
extern volatile int vxe_mouse_buttons;     // held now: 1 left, 2 right, 4 middle

// ---- keyboard ----

// Refreshes VXE_keys from the keys down right now and rebuilds VXE_joykey.
void vxe_getkeys();
// Engine key code of vxe_keycode: 0xF000.. for special keys, else the key code.
int vxe_getkeycode();
// Engine key code for a key code (0 stays 0).
int vxe_keytoengine(int key);
// Key code for an engine key code; codes 0..255 are key codes already.
// Returns -1 for a code that names no key.
int vxe_enginetokey(int code);
// Replaces the source of "keys down right now" (tests, replay); null restores
// the platform keyboard. The function fills down[0..255] with 0 or 1.
void vxe_setkeystatesource(void (*read)(unsigned char down[256]));

// ---- mouse ----

// buttons: those held now, and those pressed since the previous read, so a
// click shorter than a frame still shows in one reading.
void vxe_getmouse(int *x, int *y, int *buttons);
// Maps the window position of modes 0 and 1 before vxe_getmouse hands it
// out (null: window pixels as they are).
void vxe_setmousemap(void (*map)(int *x, int *y));
void vxe_setmouse(int x, int y);
void vxe_showmouse();
void vxe_hidemouse();
void vxe_getmousewheel(int *z, int *zdir);

// ---- joysticks ----

int vxe_getnumjoysticks();
bool vxe_joystickconnected(int id);
int vxe_initjoystick(int id);
// 1 and the state (axes about -128..127, controller bit mask) on success;
// 0 with every output 0 on failure.
int vxe_polljoystick(int id, int *x, int *y, int *z, int *r, int *buttons);

// Pad type from a button count: 10 -> 1, 14 -> 2, 12 -> 4, other -> 3; a count
// that could not be read (negative) -> 0.
int vxe_joypadtype(int numbuttons);
// Controller bits for a hat in hundredths of degrees (centred: nothing).
int vxe_joyhatbits(uint32_t pov);
// Controller bits for a platform button mask on a pad of the given type.
int vxe_joybuttonbits(int padtype, uint32_t buttons);
// Axis 0..65535 to about -128..127.
int vxe_joyaxis(uint32_t value);
// Replaces the joystick reader (tests, replay); null restores the platform's.
void vxe_setjoysticksource(int (*read)(int id, int *numbuttons, s_joyreading *out));

#endif
