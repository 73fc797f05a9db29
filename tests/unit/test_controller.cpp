#include "engine/platform/controller.h"
#include "engine/platform/input.h"
#include "engine/platform/sdl_driver.h"

#include <gtest/gtest.h>

static unsigned char s_down[256];
static void readdown(unsigned char down[256])
{
    for (int i = 0; i < 256; i++) down[i] = s_down[i];
}

// Holds exactly these keys, both for the real-time state and the key table.
static void hold(std::initializer_list<int> keys)
{
    for (unsigned char &d : s_down) d = 0;
    for (int k : keys) s_down[k] = 1;
    for (int i = 0; i < 256; i++) VXE_keys[i] = s_down[i] ? 0x8000 : 0;
}

class Controllers : public ::testing::Test {
protected:
    void SetUp() override
    {
        vxe_setkeystatesource(readdown);
        hold({});
        vxe_input_prevkey = 0;
        vxe_input_prevcontrollerkey = 0;
    }
    void TearDown() override
    {
        vxe_setkeystatesource(nullptr);
        vxe_setjoysticksource(nullptr);
    }
};

TEST_F(Controllers, GetKeysReportsRisingEdgesOnce)
{
    int held, pressed;
    hold({VXE_KEY_RIGHT});
    VXE_GetKeys(&held, &pressed);
    EXPECT_EQ(held, 0x8);
    EXPECT_EQ(pressed, 0x8);
    VXE_GetKeys(&held, &pressed);  // a second caller in the same frame
    EXPECT_EQ(held, 0x8);
    EXPECT_EQ(pressed, 0);
    hold({VXE_KEY_RIGHT, VXE_KEY_SPACE});
    VXE_GetKeys(nullptr, &pressed);
    EXPECT_EQ(pressed, 0x10);
    hold({});
    VXE_GetKeys(&held, nullptr);
    EXPECT_EQ(held, 0);
    hold({VXE_KEY_RIGHT});
    VXE_GetKeys(&held, &pressed);
    EXPECT_EQ(pressed, 0x8);
}

TEST_F(Controllers, GetKeycodeReportsChanges)
{
    int code, changed;
    VXE_GetKeycode(&code, &changed);
    vxe_msg_keydown('K');
    VXE_GetKeycode(&code, &changed);
    EXPECT_EQ(code, 'K');
    EXPECT_EQ(changed, 1);
    VXE_GetKeycode(&code, &changed);
    EXPECT_EQ(changed, 0);
    vxe_msg_keydown(VXE_KEY_UP);
    VXE_GetKeycode(&code, &changed);
    EXPECT_EQ(code, 0xF001);
    EXPECT_EQ(changed, 1);
    vxe_msg_keyup('K');
    vxe_msg_keyup(VXE_KEY_UP);
    // The release clears the previous code too, so the next read of 0 is
    // not a change.
    VXE_GetKeycode(&code, &changed);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(changed, 0);
}

TEST_F(Controllers, DefaultTableWithoutJoysticks)
{
    EXPECT_EQ(VXE_InitControllers(), 4);
    EXPECT_EQ(VXE_controller[0].type, VXE_CONTROLLER_KEYBOARD);
    EXPECT_EQ(VXE_controller[1].type, VXE_CONTROLLER_KEYBOARD);
    EXPECT_EQ(VXE_controller[2].type, VXE_CONTROLLER_MOUSE);
    EXPECT_EQ(VXE_controller[3].type, VXE_CONTROLLER_KEYCODE);
    EXPECT_EQ(VXE_controllerkeys[0][0], 0xF001);
    EXPECT_EQ(VXE_controllerkeys[1][3], 'D');
    EXPECT_EQ(VXE_controllerkeys[1][15], 0xF000);
}

static int s_joyx = 32767, s_joyok = 1;
static int joysticks0and2(int id, int *numbuttons, s_joyreading *out)
{
    *numbuttons = 10;
    *out = s_joyreading{(uint32_t)s_joyx, 32767, 32767, 32767, 65535, 0x1};
    return (id == 0 || id == 2) && s_joyok;
}

TEST_F(Controllers, JoysticksComeFirstAndMergeWithAxisThreshold)
{
    vxe_setjoysticksource(joysticks0and2);
    s_joyok = 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(VXE_InitControllers(), 6);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "joystick 0 found\njoystick 2 found\n");
    EXPECT_EQ(VXE_controller[1].id, 2);
    EXPECT_EQ(VXE_controller[2].type, VXE_CONTROLLER_KEYBOARD);

    int held, pressed;
    s_joyx = 16127;  // axis -65
    VXE_GetAllControllers(&held, &pressed);
    EXPECT_EQ(held, 0x4 | 0x10);
    EXPECT_EQ(pressed, 0x4 | 0x10);
    s_joyx = 16383;  // axis -64
    EXPECT_EQ(VXE_GetAllControllers(&held, &pressed), 0x10);
    EXPECT_EQ(pressed, 0);

    // A failed read disables the joystick for good.
    s_joyok = 0;
    VXE_PollControllers();
    s_joyok = 1;
    VXE_PollControllers();
    EXPECT_EQ(VXE_controller[0].enabled, 0);
    EXPECT_EQ(VXE_controller[1].enabled, 0);
    EXPECT_EQ(VXE_GetAllControllers(&held, &pressed), 0);
    s_joyx = 32767;
}

TEST_F(Controllers, KeyboardLayoutsPollIntoAxesAndMerge)
{
    VXE_InitControllers();
    hold({VXE_KEY_LEFT, 'D', VXE_KEY_SPACE, 'P'});
    int held, pressed;
    VXE_GetAllControllers(&held, &pressed);
    EXPECT_EQ(VXE_controller[0].x, -127);
    EXPECT_EQ(VXE_controller[1].x, 127);
    EXPECT_EQ(VXE_controller[0].y, 0);
    // Directions live in the axes only; the buttons keep the rest.
    EXPECT_EQ(VXE_controller[0].buttons, 0x10);
    EXPECT_EQ(VXE_controller[1].buttons, 0x80);
    EXPECT_EQ(held, 0x4 | 0x8 | 0x10 | 0x80);
    EXPECT_EQ(pressed, held);

    hold({VXE_KEY_LEFT});
    VXE_GetAllControllers(&held, &pressed);
    EXPECT_EQ(held, 0x4);
    EXPECT_EQ(pressed, 0);
    EXPECT_EQ(VXE_controller[0].oldbuttons, 0x10);  // released since the last poll
    EXPECT_EQ(VXE_controller[1].oldbuttons, 0x80);
}

TEST_F(Controllers, ControllerKeysReadTheirOwnRow)
{
    VXE_InitControllers();
    const int row[16] = {'I', 'K', 'J', 'L', 0xF028, 'N', 0, 0, 0, 0,
                         0xF03B, 0, 0, 0, 'M', 0xF0FF};
    int index = VXE_AddKeyController(row) - 1;
    hold({'I', 'J', VXE_KEY_TAB, VXE_KEY_F12, 'M'});
    int buttons, pressed;
    VXE_GetControllerKeys(index, &buttons, &pressed);
    // Position 14 has no bit; a code naming no key is never down.
    EXPECT_EQ(buttons, 0x1 | 0x4 | 0x10 | 0x200);
    EXPECT_EQ(pressed, buttons);
    EXPECT_EQ(VXE_controller[index].x, -127);
    EXPECT_EQ(VXE_controller[index].y, -127);
    VXE_GetControllerKeys(index, &buttons, &pressed);
    EXPECT_EQ(pressed, 0);

    const int other[16] = {'Q'};
    VXE_SetKeyController(index, other);
    hold({'Q'});
    VXE_GetControllerKeys(index, &buttons, nullptr);
    EXPECT_EQ(buttons, 0x1);

    // Other types and indexes outside the table are left alone.
    buttons = -5;
    VXE_GetControllerKeys(2, &buttons, &pressed);
    VXE_GetControllerKeys(-1, &buttons, &pressed);
    VXE_GetControllerKeys(VXE_MAX_CONTROLLERS, &buttons, &pressed);
    EXPECT_EQ(buttons, -5);
    VXE_SetKeyController(99, other);
}

TEST_F(Controllers, TableHoldsEightAndRefusesMore)
{
    VXE_InitControllers();
    const int row[16] = {'A'};
    for (int n = 5; n <= VXE_MAX_CONTROLLERS; n++) EXPECT_EQ(VXE_AddKeyController(row), n);
    const int ninth[16] = {'B'};
    EXPECT_EQ(VXE_AddKeyController(ninth), VXE_MAX_CONTROLLERS);
    EXPECT_EQ(VXE_numcontrollers, VXE_MAX_CONTROLLERS);
    EXPECT_EQ(VXE_controllerkeys[VXE_MAX_CONTROLLERS - 1][0], 'A');
}

TEST_F(Controllers, KeycodeAndMouseControllersFollowTheirSources)
{
    VXE_InitControllers();
    vxe_msg_keydown(VXE_KEY_ESCAPE);
    vxe_msg_begin();
    vxe_msg_buttondown(1);
    VXE_PollControllers();
    EXPECT_EQ(VXE_controller[3].buttons, 0xF000);
    EXPECT_EQ(VXE_controller[2].buttons, 1);
    vxe_msg_keyup(VXE_KEY_ESCAPE);
    vxe_msg_begin();
    VXE_PollControllers();
    EXPECT_EQ(VXE_controller[3].buttons, 0);
    EXPECT_EQ(VXE_controller[3].oldbuttons, 0xF000);
    EXPECT_EQ(VXE_controller[2].oldbuttons, 1);
    // Neither takes part in the merged mask ('Y' is in no keyboard row).
    vxe_msg_keydown('Y');
    vxe_msg_begin();
    vxe_msg_buttondown(4);
    EXPECT_EQ(VXE_GetAllControllers(nullptr, nullptr), 0);
    EXPECT_EQ(VXE_controller[3].buttons, 'Y');
    vxe_msg_keyup('Y');
    vxe_msg_begin();
}
