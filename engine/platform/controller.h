// Controller layer: the engine's public input calls. Wraps the raw input of
// input.h with edge detection, and reduces joysticks, keyboard layouts, the
// mouse and the key-code stream to controllers with axes and a 16-bit button
// mask: 0x1 up, 0x2 down, 0x4 left, 0x8 right, 0x10..0x8000 buttons.
#ifndef VXE_PLATFORM_CONTROLLER_H
#define VXE_PLATFORM_CONTROLLER_H

enum {
    VXE_MAX_CONTROLLERS = 8,
    VXE_CONTROLLER_KEYBOARD = 1,
    VXE_CONTROLLER_JOYSTICK = 2,
    VXE_CONTROLLER_KEYCODE = 3,
    VXE_CONTROLLER_MOUSE = 4
};

struct s_controller {
    int type;       // VXE_CONTROLLER_*
    int id;         // joystick number
    int x, y;       // axes (keyboards -127/0/127, joysticks about -128..127, mouse position)
    int z, r;       // further joystick axes
    int buttons;    // current mask (key-code controller: the engine key code)
    int oldbuttons; // bits set at the previous poll and clear now
    int enabled;    // 0 for good once a joystick fails to read
};

extern s_controller VXE_controller[VXE_MAX_CONTROLLERS];
extern int VXE_controllerkeys[VXE_MAX_CONTROLLERS][16]; // engine key codes per keyboard
extern int VXE_numcontrollers;
extern int vxe_input_prevcontrollerkey;                  // previous merged mask

// ---- keyboard, key code and mouse ----

// Held keyboard-joystick bits and the ones that rose since the last call.
// Either output may be null.
void VXE_GetKeys(int *held, int *pressed);
// Engine code of the last key (0 none) and whether it changed since the last
// call. Either output may be null.
void VXE_GetKeycode(int *code, int *changed);
void VXE_GetMouse(int *x, int *y, int *buttons);
// Position readings pass through map first (null removes it): the
// application's picture coordinates instead of window pixels.
void VXE_SetMouseMap(void (*map)(int *x, int *y));
void VXE_GetMouseWheel(int *z, int *zdir);
void VXE_SetMouse(int x, int y);
void VXE_SetMouseMode(int mode);
void VXE_ShowMouse();
void VXE_HideMouse();

// ---- controllers ----

// Builds the default table: connected joysticks 0..3, two keyboard layouts
// (cursor keys and W/A/S/D), the mouse, the key code. Returns the count.
int VXE_InitControllers();
// Appends a keyboard controller with 16 engine key codes; returns the new
// count. A full table is left as it is and the count comes back unchanged.
int VXE_AddKeyController(const int keys[16]);
// Replaces a controller's key row; an index outside the table is ignored.
void VXE_SetKeyController(int index, const int keys[16]);
// Reads a keyboard controller: buttons held and the ones that rose since its
// last read. Other types and bad indexes are left alone. Outputs may be null.
void VXE_GetControllerKeys(int index, int *buttons, int *pressed);
// Updates every enabled controller.
void VXE_PollControllers();
// Polls, then merges keyboards and joysticks into one mask (axes beyond 64
// count as directions). Returns the held mask; outputs may be null.
int VXE_GetAllControllers(int *held, int *pressed);

#endif
