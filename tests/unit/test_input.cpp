#include "engine/platform/input.h"
#include "engine/platform/sdl_driver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

// Keys "down right now" for vxe_getkeys.
static unsigned char s_down[256];
static void readdown(unsigned char down[256])
{
    for (int i = 0; i < 256; i++) down[i] = s_down[i];
}

static void presskeys(std::initializer_list<int> keys)
{
    for (unsigned char &d : s_down) d = 0;
    for (int k : keys) s_down[k] = 1;
    vxe_setkeystatesource(readdown);
    vxe_getkeys();
    vxe_setkeystatesource(nullptr);
}

TEST(KeyMessages, TrackTheKeyTableAndTheLastKey)
{
    vxe_msg_keydown('A');
    EXPECT_EQ(VXE_keys['A'], 1);
    EXPECT_EQ(vxe_keycode, 'A');
    vxe_msg_keydown('B');
    vxe_msg_keyup('A');
    EXPECT_EQ(VXE_keys['A'], 0);
    EXPECT_EQ(vxe_keycode, 'B');  // releasing an older key keeps the last one
    vxe_input_prevkeycode = 0xF012;
    vxe_msg_keyup('B');
    EXPECT_EQ(vxe_keycode, 0);
    EXPECT_EQ(vxe_input_prevkeycode, 0);
    // Only the low 8 bits name the key.
    vxe_msg_keydown(0x100 | 'Q');
    EXPECT_EQ(VXE_keys['Q'], 1);
    vxe_msg_keyup('Q');
}

TEST(KeyCodes, SpecialKeysMapToEngineCodesAndBack)
{
    vxe_msg_keydown(VXE_KEY_SPACE);
    EXPECT_EQ(vxe_getkeycode(), 0xF012);
    vxe_msg_keydown('A');
    EXPECT_EQ(vxe_getkeycode(), 65);
    vxe_msg_keyup('A');
    vxe_msg_keyup(VXE_KEY_SPACE);
    EXPECT_EQ(vxe_getkeycode(), 0);

    EXPECT_EQ(vxe_keytoengine(VXE_KEY_ESCAPE), 0xF000);
    EXPECT_EQ(vxe_keytoengine(VXE_KEY_LEFT), 0xF003);
    EXPECT_EQ(vxe_keytoengine(VXE_KEY_TAB), 0xF028);
    EXPECT_EQ(vxe_keytoengine(VXE_KEY_F1), 0xF030);
    EXPECT_EQ(vxe_keytoengine(VXE_KEY_F12), 0xF03B);
    // Every key comes back from its engine code, and no two keys share one.
    std::set<int> codes;
    for (int key = 0; key < 256; key++) {
        int code = vxe_keytoengine(key);
        EXPECT_TRUE(codes.insert(code).second) << key;
        EXPECT_EQ(vxe_enginetokey(code), key);
    }
    EXPECT_EQ(vxe_enginetokey(0xF005), -1);
    EXPECT_EQ(vxe_enginetokey(0xF03C), -1);
    EXPECT_EQ(vxe_enginetokey(300), -1);
    EXPECT_EQ(vxe_enginetokey(-1), -1);
}

TEST(KeyboardJoystick, BuildsTheMaskFromKeysDownNow)
{
    vxe_msg_keydown('Z');  // a message's 1 is overwritten by the real state
    presskeys({VXE_KEY_RIGHT});
    EXPECT_EQ(VXE_keys[VXE_KEY_RIGHT], 0x8000);
    EXPECT_EQ(VXE_keys['Z'], 0);
    EXPECT_EQ(VXE_joykey, 0x8);

    presskeys({VXE_KEY_RETURN, '1'});
    EXPECT_EQ(VXE_joykey, 0x1000);
    presskeys({VXE_KEY_BACKSPACE, '2', VXE_KEY_ESCAPE});
    EXPECT_EQ(VXE_joykey, 0xA000);
    presskeys({VXE_KEY_UP, VXE_KEY_DOWN, VXE_KEY_LEFT, VXE_KEY_SPACE, VXE_KEY_CONTROL,
               VXE_KEY_SHIFT, 'Z', 'X', 'C', 'V'});
    EXPECT_EQ(VXE_joykey, 0x5F7);
    presskeys({});
    EXPECT_EQ(VXE_joykey, 0);
}

TEST(ScancodeTable, ReachesEveryKeyTheTablesName)
{
    std::set<int> reachable;
    for (int sc = 0; sc < SDL_NUM_SCANCODES; sc++) {
        int key = vxe_scancodetokey(sc);
        ASSERT_GE(key, 0);
        ASSERT_LT(key, 256);
        reachable.insert(key);
    }
    for (int key = 'A'; key <= 'Z'; key++) EXPECT_TRUE(reachable.count(key)) << key;
    for (int key = '0'; key <= '9'; key++) EXPECT_TRUE(reachable.count(key)) << key;
    for (int key = 0; key < 256; key++) {
        if (vxe_keytoengine(key) < 0xF000) continue;
        EXPECT_TRUE(reachable.count(key)) << key;
    }
    EXPECT_EQ(vxe_scancodetokey(SDL_SCANCODE_RSHIFT), VXE_KEY_SHIFT);
    EXPECT_EQ(vxe_scancodetokey(SDL_SCANCODE_RCTRL), VXE_KEY_CONTROL);
    EXPECT_EQ(vxe_scancodetokey(SDL_SCANCODE_KP_ENTER), VXE_KEY_RETURN);
    EXPECT_EQ(vxe_scancodetokey(SDL_SCANCODE_UNKNOWN), 0);
}

TEST(MouseMessages, ButtonsShowOnlyTheLatestMessage)
{
    vxe_msg_begin();
    vxe_msg_buttondown(1);
    EXPECT_EQ(vxe_mouse_buttons, 1);
    vxe_msg_begin();  // any further message
    EXPECT_EQ(vxe_mouse_buttons, 0);
    vxe_msg_begin();
    vxe_msg_buttondown(4);
    EXPECT_EQ(vxe_mouse_buttons, 4);
    vxe_msg_begin();
}

TEST(MouseMessages, WheelCountsOneStepPerMessage)
{
    vxe_mouse_z = 0;
    vxe_msg_wheel(120);
    vxe_msg_wheel(960);  // a fast spin is still one step
    vxe_msg_wheel(-120);
    int z, zdir;
    vxe_getmousewheel(&z, &zdir);
    EXPECT_EQ(z, 1);
    EXPECT_EQ(zdir, -1);
    vxe_getmousewheel(&z, &zdir);
    EXPECT_EQ(z, 1);
    EXPECT_EQ(zdir, 0);
    // Only the signed low 16 bits of the delta count.
    vxe_msg_wheel(0x10000);
    vxe_getmousewheel(&z, &zdir);
    EXPECT_EQ(z, 1);
    EXPECT_EQ(zdir, 0);
    vxe_msg_wheel(0xFF88);  // -120
    vxe_getmousewheel(&z, &zdir);
    EXPECT_EQ(z, 0);
    EXPECT_EQ(zdir, -1);
}

TEST(Mouse, RelativeModeReturnsMotionSinceTheLastRead)
{
    // No window: the cursor reads as the client origin.
    vxe_input_mouse_mode = 2;
    vxe_mouse_x = 30;
    vxe_mouse_y = 7;
    int x, y, b;
    vxe_getmouse(&x, &y, &b);
    EXPECT_EQ(x, -30);
    EXPECT_EQ(y, -7);
    EXPECT_EQ(vxe_mouse_oldx, 30);
    vxe_getmouse(&x, &y, &b);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    vxe_input_mouse_mode = 0;
    vxe_msg_begin();
    vxe_msg_buttondown(2);
    vxe_getmouse(&x, &y, &b);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(vxe_mouse_x, x);
    vxe_msg_begin();
}

TEST(Joystick, HatBecomesDirections)
{
    EXPECT_EQ(vxe_joyhatbits(0), 0x1);
    EXPECT_EQ(vxe_joyhatbits(4500), 0x1 | 0x8);
    EXPECT_EQ(vxe_joyhatbits(9000), 0x8);
    EXPECT_EQ(vxe_joyhatbits(13500), 0x2 | 0x8);
    EXPECT_EQ(vxe_joyhatbits(18000), 0x2);
    EXPECT_EQ(vxe_joyhatbits(22500), 0x2 | 0x4);
    EXPECT_EQ(vxe_joyhatbits(27000), 0x4);
    EXPECT_EQ(vxe_joyhatbits(31500), 0x1 | 0x4);
    EXPECT_EQ(vxe_joyhatbits(36000), 0x1);
    EXPECT_EQ(vxe_joyhatbits(36099), 0x1);
    EXPECT_EQ(vxe_joyhatbits(36100), 0);  // beyond a circle: centred
    EXPECT_EQ(vxe_joyhatbits(65535), 0);
}

TEST(Joystick, ButtonTablesFollowThePadType)
{
    EXPECT_EQ(vxe_joypadtype(10), 1);
    EXPECT_EQ(vxe_joypadtype(14), 2);
    EXPECT_EQ(vxe_joypadtype(12), 4);
    EXPECT_EQ(vxe_joypadtype(4), 3);
    EXPECT_EQ(vxe_joypadtype(-1), 0);

    EXPECT_EQ(vxe_joybuttonbits(1, 0x0001), 0x0010);
    EXPECT_EQ(vxe_joybuttonbits(1, 0x0300), 0x4000);  // two buttons, one bit
    EXPECT_EQ(vxe_joybuttonbits(1, 0x3C00), 0);       // a 10-button pad has no more
    EXPECT_EQ(vxe_joybuttonbits(2, 0x0001), 0x0040);
    EXPECT_EQ(vxe_joybuttonbits(2, 0x1000), 0x8000);
    EXPECT_EQ(vxe_joybuttonbits(2, 0x2000), 0x1000);
    EXPECT_EQ(vxe_joybuttonbits(3, 0x0001), 0x0080);
    EXPECT_EQ(vxe_joybuttonbits(3, 0x0040), 0x0100);
    EXPECT_EQ(vxe_joybuttonbits(3, 0x3000), 0);
    // Types 0 and 4 read like type 3.
    for (uint32_t b = 0; b < 0x4000; b += 0x155) {
        EXPECT_EQ(vxe_joybuttonbits(0, b), vxe_joybuttonbits(3, b));
        EXPECT_EQ(vxe_joybuttonbits(4, b), vxe_joybuttonbits(3, b));
    }
    EXPECT_EQ(vxe_joybuttonbits(2, 0xFFFFFFFF), 0xFFF0);
}

static int s_joyok;
static int readjoystick(int, int *numbuttons, s_joyreading *out)
{
    *numbuttons = 14;
    *out = s_joyreading{0, 32767, 65535, 16383, 9000, 0x1001};
    return s_joyok;
}

TEST(Joystick, PollConvertsAxesHatAndButtons)
{
    vxe_setjoysticksource(readjoystick);
    s_joyok = 1;
    int x, y, z, r, b;
    EXPECT_EQ(vxe_polljoystick(0, &x, &y, &z, &r, &b), 1);
    EXPECT_EQ(x, -128);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 128);
    EXPECT_EQ(r, -64);
    EXPECT_EQ(b, 0x8 | 0x40 | 0x8000);
    EXPECT_TRUE(vxe_joystickconnected(0));

    s_joyok = 0;
    EXPECT_EQ(vxe_polljoystick(0, &x, &y, &z, &r, &b), 0);
    EXPECT_EQ(x | y | z | r | b, 0);
    EXPECT_FALSE(vxe_joystickconnected(0));
    vxe_setjoysticksource(nullptr);

    // No joystick subsystem here: the real reader fails cleanly.
    EXPECT_EQ(vxe_polljoystick(3, &x, &y, &z, &r, &b), 0);
    EXPECT_FALSE(vxe_joystickconnected(3));
}
