// Input: window messages into the key table and the mouse, the engine key
// codes, the desktop's key table, the joystick conversions, and the
// controllers: the keyboard joystick the show reads (held bits and rising
// edges) and the engine's controller table (keyboard layouts, joysticks,
// key rows) at its merges and bounds.
#include "engine/platform/controller.h"
#include "engine/platform/input.h"
#include "engine/platform/backend.h"
#include "engine/platform/sdl_driver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <ctype.h>
#include <set>
#include <string.h>
#include <vector>

TEST(KeyMessages, TrackTheKeyTableAndTheLastKey)
{
    vxe_msg_keydown(VXE_KEY_SPACE);
    vxe_msg_keydown(0x100 | 'B');  // only the low 8 bits name the key
    vxe_msg_keyup(VXE_KEY_SPACE);
    EXPECT_EQ(VXE_keys[VXE_KEY_SPACE], 0);
    EXPECT_EQ(VXE_keys[int('B')], 1);
    EXPECT_EQ(vxe_getkeycode(), 'B');  // releasing an older key keeps the last one
    vxe_msg_keyup('B');
    EXPECT_EQ(vxe_getkeycode(), 0);
}

TEST(KeyCodes, EveryKeyHasItsOwnEngineCodeAndComesBack)
{
    const int pairs[][2] = {{VXE_KEY_ESCAPE, 0xF000}, {VXE_KEY_F12, 0xF03B}, {'A', 'A'}};
    for (const auto &p : pairs) EXPECT_EQ(vxe_keytoengine(p[0]), p[1]) << p[0];
    std::set<int> codes;
    for (int key = 0; key < 256; key++) {
        EXPECT_TRUE(codes.insert(vxe_keytoengine(key)).second) << key;
        EXPECT_EQ(vxe_enginetokey(vxe_keytoengine(key)), key);
    }
    for (int code : {0xF005, 0xF03C, 300, -1}) EXPECT_EQ(vxe_enginetokey(code), -1) << code;

    // The scancode table reaches every letter, digit and special key.
    std::set<int> reachable;
    for (int sc = 0; sc < SDL_NUM_SCANCODES; sc++) reachable.insert(vxe_scancodetokey(sc));
    ASSERT_TRUE(*reachable.begin() >= 0 && *reachable.rbegin() < 256);
    for (int key = 0; key < 256; key++) {
        bool named = isupper(key) || isdigit(key) || vxe_keytoengine(key) >= 0xF000;
        EXPECT_TRUE(!named || reachable.count(key)) << key;
    }
    EXPECT_EQ(vxe_scancodetokey(SDL_SCANCODE_RSHIFT), VXE_KEY_SHIFT);
    EXPECT_EQ(vxe_scancodetokey(SDL_SCANCODE_KP_ENTER), VXE_KEY_RETURN);
}

// One wheel step per message, whatever its size (only the signed low 16
// bits count), read once; with no window the relative cursor reads as the
// client origin.
TEST(Mouse, WheelStepsAndRelativeMotion)
{
    int z, zdir, x, y, b;
    for (int delta : {120, 960, -120, 0x10000, 0xFF88}) vxe_msg_wheel(delta);
    vxe_getmousewheel(&z, &zdir);
    EXPECT_EQ(std::make_pair(z, zdir), std::make_pair(0, -1));
    vxe_getmousewheel(&z, &zdir);
    EXPECT_EQ(zdir, 0);
    vxe_input_mouse_mode = 2;
    vxe_mouse_x = 30;
    vxe_getmouse(&x, &y, &b);
    EXPECT_EQ(x, -30);
    vxe_getmouse(&x, &y, &b);
    EXPECT_EQ(x, 0);
    vxe_input_mouse_mode = 0;
}

// Pushes an event and drains the queue through the message pump (SDL
// queues bookkeeping events of its own too).
static void pump(SDL_Event e)
{
    SDL_PushEvent(&e);
    while (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        vxe_pumpmessages();
}

TEST(WindowEvents, WheelStepsAndSystemKeys)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    const int z0 = vxe_mouse_z;
    // {sideways, vertical, z step, direction}: sideways scrolling is not the
    // wheel, and a fraction of a notch is one step.
    const struct { int x; float y; int z, zdir; } wheels[] = {
        {0, 1, 1, 1}, {0, -3, 0, -1}, {1, 0, 0, -1}, {0, 0.25f, 1, 1}};
    for (const auto &w : wheels) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.x = w.x;
        e.wheel.y = (int)w.y;
        e.wheel.preciseY = w.y;
        pump(e);
        EXPECT_EQ(vxe_mouse_z - z0, w.z) << w.x << " " << w.y;
        EXPECT_EQ(vxe_mouse_zdir, w.zdir) << w.x << " " << w.y;
    }

    // Keys held with Alt, and F10, are left to the system.
    const struct { SDL_Scancode sc; Uint16 mod; int key, down; } keys[] = {
        {SDL_SCANCODE_G, KMOD_LALT, 'G', 0}, {SDL_SCANCODE_F10, 0, VXE_KEY_F10, 0},
        {SDL_SCANCODE_G, 0, 'G', 1}};
    for (const auto &k : keys) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = k.sc;
        e.key.keysym.mod = k.mod;
        pump(e);
        EXPECT_EQ(VXE_keys[k.key], k.down) << k.key;
    }
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST(WindowEvents, ButtonsStayDownUntilTheirOwnUp)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    int x, y, b;
    vxe_getmouse(&x, &y, &b);  // nothing pressed before
    // {event, button, held after it}: pointer motion, keys, the wheel and the
    // other button's up leave a held button alone.
    const struct { Uint32 type; Uint8 button; int held; } events[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1}, {SDL_MOUSEMOTION, 0, 1}, {SDL_KEYDOWN, 0, 1},
        {SDL_MOUSEWHEEL, 0, 1}, {SDL_WINDOWEVENT, 0, 1}, {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 5},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 5}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 4},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 0}};
    for (const auto &ev : events) {
        SDL_Event e{};
        e.type = ev.type;
        if (ev.type == SDL_KEYDOWN) e.key.keysym.scancode = SDL_SCANCODE_Q;
        else if (ev.type == SDL_MOUSEWHEEL) e.wheel.preciseY = 1;
        else e.button.button = ev.button;
        pump(e);
        EXPECT_EQ(vxe_mouse_buttons, ev.held) << &ev - events;
    }
    vxe_msg_keyup('Q');

    // Presses let go before the application looked still show, in exactly
    // one reading.
    vxe_getmouse(&x, &y, &b);
    EXPECT_EQ(b, 5) << "both presses since the last reading";
    vxe_getmouse(&x, &y, &b);
    EXPECT_EQ(b, 0);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

// The hat and button tables, then one poll through a joystick source that
// converts every axis (the z axis included), the hat and the buttons.
TEST(Joystick, HatButtonsAndAxesConvert)
{
    const unsigned hat[][2] = {{0, 0x1},     {4500, 0x9},  {9000, 0x8},  {13500, 0xA},
                               {18000, 0x2}, {22500, 0x6}, {27000, 0x4}, {31500, 0x5},
                               {36099, 0x1}, {36100, 0},   {65535, 0}};
    for (const auto &h : hat) EXPECT_EQ(vxe_joyhatbits(h[0]), (int)h[1]) << h[0];
    const int types[][2] = {{10, 1}, {14, 2}, {12, 4}, {4, 3}, {-1, 0}};
    for (const auto &t : types) EXPECT_EQ(vxe_joypadtype(t[0]), t[1]) << t[0];
    // {pad type, buttons, bits}; types 0 and 4 read like type 3.
    const unsigned buttons[][3] = {{1, 0x0001, 0x0010}, {1, 0x0300, 0x4000}, {1, 0x3C00, 0},
                                   {2, 0x1000, 0x8000}, {2, 0xFFFFFFFF, 0xFFF0}, {3, 0x0040, 0x0100},
                                   {3, 0x3000, 0},      {0, 0x0001, 0x0080},  {4, 0x0040, 0x0100}};
    for (const auto &r : buttons)
        EXPECT_EQ(vxe_joybuttonbits(r[0], r[1]), (int)r[2]) << r[0] << " " << r[1];

    vxe_setjoysticksource([](int, int *numbuttons, s_joyreading *out) {
        *numbuttons = 14;
        *out = s_joyreading{0, 32767, 65535, 16383, 9000, 0x1001};
        return 1;
    });
    int x, y, z, r, b;
    EXPECT_EQ(vxe_polljoystick(0, &x, &y, &z, &r, &b), 1);
    EXPECT_EQ(std::vector<int>({x, y, z, r, b}), std::vector<int>({-128, 0, 128, -64, 0x8048}));
    vxe_setjoysticksource(nullptr);
    // No joystick subsystem here: the real reader fails cleanly, all zero.
    EXPECT_EQ(vxe_polljoystick(0, &x, &y, &z, &r, &b), 0);
    EXPECT_EQ(x | y | z | r | b, 0);
    EXPECT_FALSE(vxe_joystickconnected(0));
}

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
        {{VXE_KEY_RIGHT, VXE_KEY_SPACE}, 0x18, 0x10}, {{'1', '2', VXE_KEY_ESCAPE}, 0xB000, 0xB000},
        {{VXE_KEY_UP, VXE_KEY_DOWN, VXE_KEY_LEFT, VXE_KEY_SPACE, VXE_KEY_CONTROL, VXE_KEY_SHIFT,
          'Z', 'X', 'C', 'V', VXE_KEY_RETURN, VXE_KEY_BACKSPACE}, 0x35F7, 0x05F7},
        {{}, 0, 0}, {{VXE_KEY_RIGHT}, 0x8, 0x8},
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

// A key row: position 14 has no bit, a code naming no key is never down.
// The table holds eight; other types and indexes outside it, even stale
// rows, are left alone.
TEST_F(Controllers, ControllerKeysReadTheirOwnRowWithinTheTable)
{
    VXE_InitControllers();
    const int row[16] = {'I', 'K', 'J', 'L', 0xF028, 'N', 0, 0, 0, 0, 0xF03B, 0, 0, 0, 'M', 0xF0FF};
    const int index = VXE_AddKeyController(row) - 1;
    hold({'I', 'J', VXE_KEY_TAB, VXE_KEY_F12, 'M'});
    int buttons, pressed, again;
    VXE_GetControllerKeys(index, &buttons, &pressed);
    VXE_GetControllerKeys(index, &buttons, &again);
    EXPECT_EQ((std::vector<int>{buttons, pressed, again}), (std::vector<int>{0x215, 0x215, 0}));
    while (VXE_numcontrollers < VXE_MAX_CONTROLLERS) VXE_AddKeyController(row);
    EXPECT_EQ(VXE_AddKeyController(row), VXE_MAX_CONTROLLERS);
    VXE_InitControllers();
    buttons = -5;
    for (int bad : {2, -1, index, (int)VXE_MAX_CONTROLLERS}) VXE_GetControllerKeys(bad, &buttons, &pressed);
    EXPECT_EQ(buttons, -5);
    VXE_SetKeyController(99, row);
}
