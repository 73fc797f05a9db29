// Controllers: the keyboard joystick the show reads, held bits and rising
// edges, and the engine's controller table (keyboard layouts, joysticks,
// key rows) at its merges and bounds.
#include "engine/platform/controller.h"
#include "engine/platform/input.h"
#include "engine/platform/backend.h"

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

static unsigned char s_down[256];

// Holds exactly these keys, both for the real-time state and the key table.
static void hold(const std::vector<int> &keys)
{
    memset(s_down, 0, sizeof s_down);
    for (int k : keys) s_down[k] = 1;
    for (int i = 0; i < 256; i++) VXE_keys[i] = s_down[i] ? 0x8000 : 0;
    vxe_setkeystatesource([](unsigned char down[256]) { memcpy(down, s_down, 256); });
}

struct Controllers : ::testing::Test {
    void SetUp() override
    {
        hold({});
        vxe_input_prevkey = vxe_input_prevcontrollerkey = 0;
    }
};

TEST_F(Controllers, KeyboardJoystickReportsRisingEdgesOnce)
{
    const struct { std::vector<int> keys; int held, pressed; } frames[] = {
        {{VXE_KEY_RIGHT}, 0x8, 0x8},
        {{VXE_KEY_RIGHT}, 0x8, 0},  // a second caller in the same frame
        {{VXE_KEY_RIGHT, VXE_KEY_SPACE}, 0x18, 0x10},
        {{'1', '2', VXE_KEY_ESCAPE}, 0xB000, 0xB000},
        {{VXE_KEY_UP, VXE_KEY_DOWN, VXE_KEY_LEFT, VXE_KEY_SPACE, VXE_KEY_CONTROL, VXE_KEY_SHIFT,
          'Z', 'X', 'C', 'V', VXE_KEY_RETURN, VXE_KEY_BACKSPACE}, 0x35F7, 0x05F7},
        {{}, 0, 0},
        {{VXE_KEY_RIGHT}, 0x8, 0x8},
    };
    for (const auto &f : frames) {
        hold(f.keys);
        int held, pressed;
        VXE_GetKeys(&held, &pressed);
        EXPECT_EQ(held, f.held);
        EXPECT_EQ(pressed, f.pressed) << &f - frames;
    }
}

static int s_joyx, s_joyok;

// Joysticks 0 and 2 come first, then the two keyboard layouts, the mouse and
// the key code; keyboards and joysticks merge, the mouse and key code not.
TEST_F(Controllers, JoysticksAndKeyboardsMergeIntoOneMask)
{
    vxe_setjoysticksource([](int id, int *numbuttons, s_joyreading *out) {
        *numbuttons = 10;
        *out = s_joyreading{(uint32_t)s_joyx, 32767, 32767, 32767, 65535, 0x1};
        return (int)((id == 0 || id == 2) && s_joyok);
    });
    s_joyok = 1, s_joyx = 16127;  // axis -65: left
    EXPECT_EQ(VXE_InitControllers(), 6);
    EXPECT_EQ(VXE_controller[1].id, 2);
    hold({VXE_KEY_RIGHT, 'D', VXE_KEY_CONTROL});
    vxe_msg_keydown('Y');  // in no keyboard row
    vxe_msg_buttondown(1);
    int held, pressed;
    VXE_GetAllControllers(&held, &pressed);
    // Directions live in the axes only; the buttons keep the rest.
    EXPECT_EQ((std::vector<int>{held, pressed, VXE_controller[2].x, VXE_controller[2].buttons,
                                VXE_controller[4].buttons, VXE_controller[5].buttons}),
              (std::vector<int>{0x4 | 0x8 | 0x10 | 0x20, 0x4 | 0x8 | 0x10 | 0x20, 127, 0x20, 1, 'Y'}));
    s_joyx = 16383;  // axis -64: no direction
    hold({});
    EXPECT_EQ(VXE_GetAllControllers(&held, &pressed), 0x10);
    EXPECT_EQ(VXE_controller[2].oldbuttons, 0x20) << "released since the last poll";
    // A failed read disables the joystick for good.
    s_joyok = 0;
    VXE_PollControllers();
    s_joyok = 1;
    EXPECT_EQ(VXE_GetAllControllers(&held, &pressed), 0);
    vxe_setjoysticksource(nullptr);
    vxe_msg_keyup('Y');
    vxe_msg_buttonup(1);
}

TEST_F(Controllers, ControllerKeysReadTheirOwnRow)
{
    VXE_InitControllers();
    const int row[16] = {'I', 'K', 'J', 'L', 0xF028, 'N', 0, 0, 0, 0, 0xF03B, 0, 0, 0, 'M', 0xF0FF};
    int index = VXE_AddKeyController(row) - 1;
    hold({'I', 'J', VXE_KEY_TAB, VXE_KEY_F12, 'M'});
    int buttons, pressed;
    VXE_GetControllerKeys(index, &buttons, &pressed);
    // Position 14 has no bit; a code naming no key is never down.
    EXPECT_EQ(buttons, 0x1 | 0x4 | 0x10 | 0x200);
    EXPECT_EQ(pressed, buttons);
    VXE_GetControllerKeys(index, &buttons, &pressed);
    EXPECT_EQ(pressed, 0);

    // The table holds eight; a ninth is refused and the count stays.
    while (VXE_numcontrollers < VXE_MAX_CONTROLLERS) VXE_AddKeyController(row);
    EXPECT_EQ(VXE_AddKeyController(row), VXE_MAX_CONTROLLERS);

    // Other types and indexes outside the table, even stale rows, are left alone.
    VXE_InitControllers();
    buttons = -5;
    for (int bad : {2, -1, index, (int)VXE_MAX_CONTROLLERS}) VXE_GetControllerKeys(bad, &buttons, &pressed);
    EXPECT_EQ(buttons, -5);
    VXE_SetKeyController(99, row);
}
