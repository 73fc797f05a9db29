// Scripted input: the script format with its refusals, and playback into
// the pointer, the button and the keys exactly as the input reads see them.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "engine/platform/clock.h"
#include "engine/platform/controller.h"
#include "engine/platform/input.h"
#include "engine/platform/inputscript.h"

namespace {

uint32_t now;
uint32_t testclock() { return now; }
void nokeys(unsigned char down[256]) { memset(down, 0, 256); }
void shifted(int *x, int *y) { *x += 1000, *y += 1000; }

std::string Parse(const char *text)
{
    s_inputscript script;
    char error[256] = "";
    const int ok = vxe_parseinputscript(text, "tour.txt", &script, error, sizeof error);
    vxe_freeinputscript(&script);
    return ok ? "ok" : error;
}

}  // namespace

TEST(InputScript, ReadsEveryActionAndRefusesWithFileAndLine)
{
    s_inputscript script;
    char error[256];
    ASSERT_EQ(1, vxe_parseinputscript("# a tour\n\n1500ms move 28 49  # the mode menu\n"
                                      "f900 press\r\nf905 release\n2000ms keydown Escape\n2200ms keyup x\n",
                                      "tour.txt", &script, error, sizeof error));
    ASSERT_EQ(5, script.count);
    const s_scriptevent &move = script.events[0];
    EXPECT_TRUE(move.action == SCRIPT_MOVE && move.at == 1500 && !move.frames && move.x == 28 && move.y == 49);
    EXPECT_TRUE(script.events[1].action == SCRIPT_PRESS && script.events[1].frames && script.events[1].at == 900);
    EXPECT_EQ(SCRIPT_RELEASE, script.events[2].action);
    EXPECT_TRUE(script.events[3].action == SCRIPT_KEYDOWN && script.events[3].key == VXE_KEY_ESCAPE);
    EXPECT_TRUE(script.events[4].action == SCRIPT_KEYUP && script.events[4].key == 'X');
    vxe_freeinputscript(&script);

    const std::string longline = "f1 move 1 " + std::string(300, '2');
    const struct { const char *text, *error; } bad[] = {
        {"100 move 1 2", "tour.txt:1: the time must be like 1500ms or f900"},
        {"# fine\nf-3 press", "tour.txt:2: the time must be like 1500ms or f900"},
        {"99999999999ms press", "tour.txt:1: the time must be like 1500ms or f900"},
        {"f1", "tour.txt:1: an action must follow the time"},
        {"f1 move 3", "tour.txt:1: move takes two whole numbers, X and Y"},
        {"f1 move 3 2000000", "tour.txt:1: move takes two whole numbers, X and Y"},
        {"f1 press now", "tour.txt:1: press and release take nothing more"},
        {"f1 keydown", "tour.txt:1: keydown and keyup take one key name"},
        {"f1 keydown F13", "tour.txt:1: unknown key name"},
        {"f1 click", "tour.txt:1: unknown action (move, press, release, keydown, keyup)"},
        {"f1 a b c d e f g h", "tour.txt:1: too many words"}, {longline.c_str(), "tour.txt:1: line too long"},
    };
    for (const auto &b : bad) EXPECT_EQ(b.error, Parse(b.text)) << b.text;
    EXPECT_EQ("ok", Parse(""));
}

TEST(InputScript, PlaysIntoThePointerButtonAndKeysInOrder)
{
    char path[] = "/tmp/floxa_script_XXXXXX";
    FILE *file = fdopen(mkstemp(path), "w");
    ASSERT_NE(nullptr, file);
    fputs("100ms move 160 100\n100ms press\n100ms release\nf2 move -5 300\nf2 keydown left\n1000ms keyup left\n", file);
    fclose(file);

    vxe_setclock(testclock);
    vxe_setkeystatesource(nokeys);
    VXE_SetMouseMap(shifted);
    now = 5000;
    char error[256];
    ASSERT_EQ(1, vxe_startinputscript(path, error, sizeof error)) << error;
    EXPECT_EQ(1, vxe_inputscriptactive());

    // {x, y, buttons} as the application reads them.
    auto mouse = [] {
        std::vector<int> m(3);
        VXE_GetMouse(&m[0], &m[1], &m[2]);
        return m;
    };
    now = 5099;
    EXPECT_EQ(std::vector<int>({0, 0, 0}), mouse());
    // Pressed and released before this read: still one click, and the
    // script's coordinates pass the window map by.
    now = 5100;
    EXPECT_EQ(std::vector<int>({160, 100, 1}), mouse());
    EXPECT_EQ(std::vector<int>({160, 100, 0}), mouse());

    // Frame events wait for their frame, and later ones wait for them.
    now = 5400;
    vxe_countframe();
    EXPECT_EQ(std::vector<int>({160, 100, 0}), mouse());
    vxe_countframe();
    EXPECT_EQ(std::vector<int>({-5, 300, 0}), mouse());
    vxe_getkeys();
    EXPECT_NE(0, VXE_keys[VXE_KEY_LEFT]);
    EXPECT_EQ(0x4, VXE_joykey & 0x4);
    int button = 1;
    EXPECT_EQ(1, vxe_scriptheld(&button));
    EXPECT_EQ(0, button);
    now = 6000;
    vxe_getkeys();
    EXPECT_EQ(0, VXE_keys[VXE_KEY_LEFT]) << "the keyup's time has come";
    EXPECT_EQ(0, vxe_scriptheld(&button));

    // The move off a 320x200 picture is named by its line, and still played.
    const s_scriptevent *off = vxe_scriptoutside(320, 200);
    ASSERT_NE(nullptr, off);
    EXPECT_EQ(4, off->line);

    // A new script starts with nothing held from the last one.
    ASSERT_EQ(1, vxe_startinputscripttext("f0 keydown up\nf0 press\n", "held", error, sizeof error));
    vxe_getkeys();
    EXPECT_EQ(1, vxe_scriptheld(&button));
    EXPECT_EQ(1, button);
    ASSERT_EQ(1, vxe_startinputscripttext("", "empty", error, sizeof error));
    EXPECT_EQ(0, vxe_scriptheld(&button));
    EXPECT_EQ(0, button);

    EXPECT_EQ(0, vxe_startinputscript("/tmp/floxa_no_such_script", error, sizeof error));
    EXPECT_STREQ("/tmp/floxa_no_such_script: cannot be read", error);
    VXE_SetMouseMap(nullptr);
    vxe_setkeystatesource(nullptr);
    vxe_setclock(nullptr);
    remove(path);
}
