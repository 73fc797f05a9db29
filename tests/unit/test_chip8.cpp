// CHIP-8 interpreter: instructions are written into memory and run with
// chip8_runcpu; keys and time come through the runner hooks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "engine/corefile/corefile.h"
#include "engine/platform/clock.h"
#include "tests/unit/said.h"

namespace {

using Ints = std::vector<int>;
const std::string DARK(64, '.');
uint32_t now;
int keyword;

// Places ops at 0x200 and runs steps instructions from there (all of them by default).
void run(std::initializer_list<int> ops, int steps = -1)
{
    int at = 0x200;
    for (int op : ops) {
        chip_memory[at++] = (unsigned char)(op >> 8);
        chip_memory[at++] = (unsigned char)op;
    }
    chip_programcounter = 0x200;
    for (int i = 0; i < (steps < 0 ? (int)ops.size() : steps); i++) chip8_runcpu();
}

std::string row(int y)
{
    std::string s;
    for (int x = 0; x < 64; x++) s += chip8_pixel(x, y) ? '#' : '.';
    return s;
}

class Chip8 : public ::testing::Test {
protected:
    void SetUp() override
    {
        chip8_resetcpu();  // keeps registers, so they are cleared here
        memset(chip_vreg, 0, sizeof chip_vreg);
        chip_keypressed = chip_charset = keyword = 0;
        chiptime = now = 1000;  // no timer tick unless a test moves the clock
        vxe_setclock([] { return now; });
        chip8_setkeysource([] { return keyword; });
        chip8_setwaithook(nullptr);
    }
};

TEST_F(Chip8, LoadingRefusesAMissingProgramAndCutsALongOne)
{
    FILE *f = fopen("huge.ch8", "wb");  // in the test's own build folder
    for (int i = 0; i < 5000; i++) fputc(i % 251 + 1, f);
    fclose(f);
    ASSERT_TRUE(corefile_mountimage(".", 2));
    chip_romsize = 7;
    EXPECT_EQ(said([] { chip8_loadrom("missing.ch8"); }), "rom not found: missing.ch8\n");
    EXPECT_EQ(chip_romsize, 7);
    EXPECT_EQ(said([] { chip8_loadrom("huge.ch8"); }),
              "rom too long: huge.ch8, 5000 bytes, only the first 3584 fit\nrom loaded: huge.ch8, size: 3584\n");
    EXPECT_EQ(chip_memory[0xFFF], (CHIP8_MAXROM - 1) % 251 + 1);
    corefile_closeimage();
    remove("huge.ch8");
}

TEST_F(Chip8, KeypadTakesTheLastMappedKeyAndFX0AWaitsForIt)
{
    // {key word, keypad key + 1}; the order is left, right, up, down, space, ctrl, shift, Z, Enter
    const int cases[][2] = {
        {0x0, 0},   {0x4, 5},   {0x8, 7},   {0x1, 3},        {0x2, 9},        {0x10, 6},       {0x20, 11},
        {0x40, 12}, {0x80, 13}, {0x1000, 16}, {0x4 | 0x1, 3}, {0x10 | 0x8, 6}, {0x8000 | 0x100, 0},  // unmapped: none
    };
    for (const auto &c : cases) {
        keyword = c[0];
        chip_keypressed = 3;
        chip8_handlekeys();
        EXPECT_EQ(chip_keypressed, c[1]) << "key word " << std::hex << c[0];
    }
    chip8_setwaithook([] { return 0; });  // gives up at once: PC stays on the FX0A
    run({0xF30A});
    EXPECT_EQ(chip_programcounter, 0x200);
    keyword = 0x8;  // cursor right, held at the next step: keypad 6
    chip8_runcpu();
    EXPECT_EQ(Ints({chip_vreg[3], chip_programcounter}), Ints({6, 0x202}));
}

TEST_F(Chip8, SkipsJumpsCallsAndReturns)
{
    chip_vreg[0] = 4, chip_vreg[1] = chip_vreg[2] = 0x42, chip_vreg[3] = 6, chip_keypressed = 6 + 1;
    const int cases[][2] = {
        {0x3142, 0x204}, {0x3143, 0x202}, {0x4142, 0x202}, {0x4143, 0x204}, {0xE39E, 0x204}, {0xE3A1, 0x202},
        {0xE19E, 0x202}, {0xE1A1, 0x204}, {0x5120, 0x204}, {0x5130, 0x202}, {0x9120, 0x202}, {0x9130, 0x204},
        {0x512F, 0x204}, {0x913F, 0x204}, {0x0123, 0x202},  // N ignored; 0NNN does nothing
        {0x1ABC, 0xABC}, {0xB300, 0x304}, {0xBFFF, 0x003},  // BNNN adds V0 and stays inside memory
    };
    for (const auto &c : cases) {
        run({c[0]});
        EXPECT_EQ(chip_programcounter, c[1]) << std::hex << c[0];
    }
    // Call, return to just after the call, then a return on the empty stack, which is dropped.
    run({0x2204, 0x0000, 0x00EE}, 4);
    EXPECT_EQ(Ints({chip_programcounter, chip_stackpointer}), Ints({0x206, 0}));
    run({0x2200}, 65);  // calls itself: 64 calls fill the stack, the 65th is dropped
    EXPECT_EQ(Ints({chip_programcounter, chip_stackpointer}), Ints({0x202, 64}));
    chip_memory[0xFFE] = 0x6A, chip_memory[0xFFF] = 0x11, chip_programcounter = 0xFFE;
    chip8_runcpu();  // the program counter wraps at the end of memory
    EXPECT_EQ(Ints({chip_vreg[0xA], chip_programcounter}), Ints({0x11, 0}));
}

TEST_F(Chip8, ArithmeticWritesTheFlagBeforeTheResult)
{
    // VY, VF and VX are set in that order, so VF as X or Y takes the value of that column.
    const struct { int op, vx, vy, vf, wantx, wantf; } cases[] = {
        {0x6AFE, 0x00, 0x00, 0x33, 0xFE, 0x33}, {0x7AFF, 0x01, 0x00, 0x33, 0x00, 0x33},
        {0x8AB0, 0x01, 0x9C, 0x33, 0x9C, 0x33}, {0x8AB1, 0xF0, 0x0F, 0x33, 0xFF, 0x33},
        {0x8AB2, 0xF3, 0x3F, 0x33, 0x33, 0x33}, {0x8AB3, 0xFF, 0x0F, 0x33, 0xF0, 0x33},
        {0x8AB4, 0xFF, 0x01, 0x33, 0x00, 0x01}, {0x8AB4, 0x7F, 0x01, 0x33, 0x80, 0x00},
        {0x8AB5, 0x20, 0x20, 0x33, 0x00, 0x01}, {0x8AB5, 0x10, 0x20, 0x33, 0xF0, 0x00},
        {0x8AB7, 0x20, 0x10, 0x33, 0xF0, 0x00}, {0x8AB7, 0x10, 0x20, 0x33, 0x10, 0x01},
        {0x8AB6, 0x05, 0x80, 0x33, 0x02, 0x01}, {0x8ABE, 0x81, 0x01, 0x33, 0x02, 0x01},  // VY ignored
        {0x8ABF, 0x12, 0x34, 0x33, 0x12, 0x33}, {0xCA00, 0x12, 0x00, 0x33, 0x00, 0x33},  // no-op; random AND 0
        {0x82F4, 200, 100, 100, 201, 1},          // VF as operand: the fresh flag is added
        {0x8F35, 0x10, 0x20, 0x10, 0xE0, 0xE0},  // VF as target: the result replaces the flag
        {0x8F0E, 0x81, 0x00, 0x81, 0x02, 0x02},
    };
    for (const auto &c : cases) {
        int x = c.op >> 8 & 0xF, y = c.op >> 4 & 0xF;
        chip_vreg[y] = c.vy, chip_vreg[0xF] = c.vf, chip_vreg[x] = c.vx;
        run({c.op});
        EXPECT_EQ(Ints({chip_vreg[x], chip_vreg[0xF]}), Ints({c.wantx, c.wantf})) << std::hex << c.op;
    }
}

TEST_F(Chip8, MemoryInstructionsKeepIAndStayInsideMemory)
{
    for (int i = 0; i < 16; i++) chip_vreg[i] = (unsigned char)(0xA0 + i);
    chip_vreg[4] = 254;
    run({0xA12F, 0xF41E, 0xF433, 0xF155});  // FX1E leaves VF alone; FX55 stores V0-VX only
    EXPECT_EQ(Ints({chip_iregister, chip_vreg[0xF]}), Ints({0x12F + 254, 0xAF}));
    EXPECT_EQ(Ints(chip_memory + 0x22D, chip_memory + 0x230), (Ints{0xA0, 0xA1, 4}));  // over 2, 5, 4

    run({0xAFFE, 0xF355});  // near the top, accesses wrap to the bottom
    EXPECT_EQ(Ints(chip_memory, chip_memory + 2), (Ints{0xA2, 0xA3}));
    memset(chip_vreg, 0, 5);
    run({0xF365});  // reads back from I, so FX55 left I alone too
    EXPECT_EQ(Ints(chip_vreg, chip_vreg + 5), (Ints{0xA0, 0xA1, 0xA2, 0xA3, 0}));
    EXPECT_EQ(chip_iregister, 0xFFE);
    run({0x64FF, 0xF41E});
    EXPECT_EQ(chip_iregister, 0x0FD);
}

TEST_F(Chip8, FontFlagSendsOneSpriteToTheCharacterSet)
{
    memset(chip_memory + 0x032, 0x0F, 5);  // where glyph A would be if the set were in memory
    chip_vreg[0] = 0xA;
    run({0xF029, 0xA032, 0xD115, 0xD115}, 3);  // the ANNN in between keeps the flag
    EXPECT_EQ(row(0).substr(0, 8) + row(1).substr(0, 8), "####....#..#....");
    chip8_runcpu();  // the next sprite reads memory again
    EXPECT_EQ(row(0).substr(0, 8), "########");

    for (int vx : {46, 255}) {  // I = 230 (the set's last ten bytes) and 1275
        run({0x00E0, 0x6200 | vx, 0xF229, 0xD11F});
        EXPECT_EQ(row(9).substr(0, 8), vx == 46 ? "..####.." : "........");
        for (int y = 10; y < 15; y++) EXPECT_EQ(row(y), DARK) << vx;  // past the set: dark
    }
}

TEST_F(Chip8, TimersStepOncePerMoreThanTwentyMilliseconds)
{
    run({0x620A, 0xF215, 0xF218, 0x1206}, 3);
    Ints seen;  // 10 ms a step: a gap of exactly 20 ms does not tick
    while (seen.size() < 9) {
        now += 10;
        chip8_runcpu();
        seen.push_back(chip_delaytimer);
    }
    EXPECT_EQ(seen, (Ints{10, 10, 9, 9, 9, 8, 8, 8, 7}));
    chiptime = 0xFFFFFFE0u, now = 0x10;  // the clock wrapping round 2^32 still counts as time passing
    run({0xF707});  // reads the delay before the step ticks it
    EXPECT_EQ(Ints({chip_vreg[7], chip_delaytimer}), Ints({7, 6}));
    now += 5000;  // a long gap ticks once; the sound timer, set to V0 = 0, stays there
    run({0xF018});
    EXPECT_EQ(Ints({chip_delaytimer, chip_soundtimer}), Ints({5, 0}));
}

TEST_F(Chip8, SpritesXorWrapClipAndSpill)
{
    auto draw = [](int x, int y, int n, unsigned char byte) {
        memset(chip_memory + 0x300, byte, 16);
        chip_iregister = 0x300;
        chip8_drawsprite((unsigned char)x, (unsigned char)y, (unsigned char)n);
    };
    draw(3, 2, 2, 0xF0);
    EXPECT_EQ(row(2).substr(0, 8), "...####.");
    draw(3, 2, 2, 0xF0);  // drawn again it collides and erases itself
    EXPECT_EQ(chip_vreg[0xF], 1);
    EXPECT_EQ(row(2) + row(3), DARK + DARK);

    draw(70, 40, 1, 0x80);  // the start wraps to (6, 8)
    EXPECT_TRUE(chip8_pixel(6, 8));
    draw(0, 30, 5, 0x80);  // rows below the bottom are dropped, not wrapped
    EXPECT_TRUE(chip8_pixel(0, 31));
    EXPECT_EQ(row(0), DARK);
    draw(60, 5, 1, 0xFF);  // crossing the right edge continues one row down
    EXPECT_EQ(row(5).substr(56) + row(6).substr(0, 8), "....########....");
    draw(60, 31, 1, 0xFF);  // on the last row the spill goes to the spare area
    EXPECT_EQ(row(0), DARK);
    EXPECT_EQ(chip_screen[256], 0xF0);
    run({0x00E0});  // the clear keeps the spare area, where the spill still collides
    EXPECT_EQ(row(31), DARK);
    draw(60, 31, 1, 0xFF);
    EXPECT_EQ(chip_vreg[0xF], 1);
    draw(10, 10, 0, 0xFF);  // DXY0 draws nothing and clears the flag
    EXPECT_EQ(chip_vreg[0xF], 0);
}

}  // namespace
