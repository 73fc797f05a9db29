// Controller layer over the raw input: edge detection for keys and key
// codes, the controller table and the merged mask.
#include "engine/platform/controller.h"

#include "engine/platform/input.h"

#include <stdio.h>

s_controller VXE_controller[VXE_MAX_CONTROLLERS];
int VXE_controllerkeys[VXE_MAX_CONTROLLERS][16];
int VXE_numcontrollers;
int vxe_input_prevcontrollerkey;

// Bit per position of a key row; position 14 has none.
static const int rowbits[16] = {0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040, 0x0080,
                                  0x0100, 0x0400, 0x0200, 0x0800, 0x1000, 0x2000, 0, 0x8000};

static const int cursorrow[16] = {0xF001, 0xF002, 0xF003, 0xF004, 0xF012, 0xF013, 0xF011, 'Z',
                                    'X', 'C', 'V', 'B', 0xF010, 0xF020, 0xF000, 0xF000};
static const int wasdrow[16] = {'W', 'S', 'A', 'D', 'U', 'I', 'O', 'P',
                                  'K', 'L', 'H', 'J', 0xF010, 0xF020, 0xF000, 0xF000};

// ---- keyboard, key code and mouse ----

void VXE_GetKeys(int *held, int *pressed)
{
    vxe_getkeys();
    int now = VXE_joykey;
    if (held) *held = now;
    if (pressed) *pressed = now & ~vxe_input_prevkey;
    vxe_input_prevkey = now;
}

void VXE_GetKeycode(int *code, int *changed)
{
    int now = vxe_getkeycode();
    if (code) *code = now;
    if (changed) *changed = now != vxe_input_prevkeycode;
    vxe_input_prevkeycode = now;
}

void VXE_GetMouse(int *x, int *y, int *buttons)
{
    vxe_getmouse(x, y, buttons);
}

void VXE_SetMouseMap(void (*map)(int *x, int *y))
{
    vxe_setmousemap(map);
}

void VXE_GetMouseWheel(int *z, int *zdir)
{
    vxe_getmousewheel(z, zdir);
}

void VXE_SetMouse(int x, int y)
{
    vxe_setmouse(x, y);
}

void VXE_SetMouseMode(int mode)
{
    vxe_input_mouse_mode = mode;
}

void VXE_ShowMouse()
{
    vxe_showmouse();
}

void VXE_HideMouse()
{
    vxe_hidemouse();
}

// ---- controllers ----

static int keydown(int code)
{
    int key = vxe_enginetokey(code);
    return key >= 0 && VXE_keys[key] != 0;
}

// Reads a keyboard row into the mask and the axes of controller c.
static int readrow(s_controller &c, const int row[16])
{
    c.x = c.y = 0;
    int mask = 0;
    for (int i = 0; i < 16; i++) {
        if (!rowbits[i] || !keydown(row[i])) continue;
        mask |= rowbits[i];
        if (i == 0) c.y = -127;
        if (i == 1) c.y = 127;
        if (i == 2) c.x = -127;
        if (i == 3) c.x = 127;
    }
    c.buttons = mask;
    return mask;
}

static void setcontroller(int index, int type, int id)
{
    VXE_controller[index] = s_controller{};
    VXE_controller[index].type = type;
    VXE_controller[index].id = id;
    VXE_controller[index].enabled = 1;
}

static void setrow(int index, const int keys[16])
{
    for (int i = 0; i < 16; i++) VXE_controllerkeys[index][i] = keys[i];
}

int VXE_InitControllers()
{
    int count = 0;
    for (int id = 0; id < 4; id++) {
        if (!vxe_joystickconnected(id)) continue;
        setcontroller(count, VXE_CONTROLLER_JOYSTICK, id);
        printf("joystick %d found\n", id);
        count++;
    }
    setcontroller(count, VXE_CONTROLLER_KEYBOARD, 0);
    setrow(count++, cursorrow);
    setcontroller(count, VXE_CONTROLLER_KEYBOARD, 0);
    setrow(count++, wasdrow);
    setcontroller(count++, VXE_CONTROLLER_MOUSE, 0);
    setcontroller(count++, VXE_CONTROLLER_KEYCODE, 0);
    VXE_numcontrollers = count;
    return count;
}

int VXE_AddKeyController(const int keys[16])
{
    // A full table refuses quietly: the caller sees the count stay put.
    if (VXE_numcontrollers >= VXE_MAX_CONTROLLERS) return VXE_numcontrollers;
    setcontroller(VXE_numcontrollers, VXE_CONTROLLER_KEYBOARD, 0);
    setrow(VXE_numcontrollers, keys);
    return ++VXE_numcontrollers;
}

static int incontrollers(int index)
{
    return index >= 0 && index < VXE_numcontrollers;
}

void VXE_SetKeyController(int index, const int keys[16])
{
    if (incontrollers(index)) setrow(index, keys);
}

void VXE_GetControllerKeys(int index, int *buttons, int *pressed)
{
    if (!incontrollers(index)) return;
    s_controller &c = VXE_controller[index];
    if (c.type != VXE_CONTROLLER_KEYBOARD) return;
    int mask = readrow(c, VXE_controllerkeys[index]);
    if (buttons) *buttons = mask;
    if (pressed) *pressed = mask & ~c.oldbuttons;
    c.oldbuttons = mask;
}

void VXE_PollControllers()
{
    for (int i = 0; i < VXE_numcontrollers; i++) {
        s_controller &c = VXE_controller[i];
        if (!c.enabled) continue;
        int old = c.buttons;
        int m = 0;
        switch (c.type) {
        case VXE_CONTROLLER_KEYBOARD:
            m = readrow(c, VXE_controllerkeys[i]);
            c.x = (m & 0x4) ? -127 : (m & 0x8) ? 127 : 0;
            c.y = (m & 0x1) ? -127 : (m & 0x2) ? 127 : 0;
            c.z = c.r = 0;
            // The directions now live only in the axes.
            c.buttons = m & 0xFFF0;
            c.oldbuttons = old & ~c.buttons;
            break;
        case VXE_CONTROLLER_JOYSTICK:
            if (vxe_polljoystick(c.id, &c.x, &c.y, &c.z, &c.r, &m)) {
                c.oldbuttons = old & ~m;
                c.buttons = m;
            } else {
                c.enabled = 0;
            }
            break;
        case VXE_CONTROLLER_KEYCODE:
            VXE_GetKeycode(&m, nullptr);
            c.oldbuttons = old & ~m;
            c.buttons = m;
            break;
        case VXE_CONTROLLER_MOUSE:
            VXE_GetMouse(&c.x, &c.y, &m);
            c.oldbuttons = old & ~m;
            c.buttons = m;
            break;
        default:
            break;
        }
    }
}

int VXE_GetAllControllers(int *held, int *pressed)
{
    VXE_PollControllers();
    int mask = 0;
    for (int i = 0; i < VXE_numcontrollers; i++) {
        const s_controller &c = VXE_controller[i];
        if (!c.enabled) continue;
        if (c.type != VXE_CONTROLLER_KEYBOARD && c.type != VXE_CONTROLLER_JOYSTICK) continue;
        mask |= c.buttons;
        if (c.x < -64) mask |= 0x4;
        else if (c.x > 64) mask |= 0x8;
        if (c.y < -64) mask |= 0x1;
        else if (c.y > 64) mask |= 0x2;
    }
    if (held) *held = mask;
    if (pressed) *pressed = mask & ~vxe_input_prevcontrollerkey;
    vxe_input_prevcontrollerkey = mask;
    return mask;
}
