// CHIP-8 interpreter: instructions are written into memory and executed
// with chip8_runcpu, keys and time come through the runner hooks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "app/chip8.h"
#include "app/chip8draw.h"
#include "app/chip8tables.h"
#include "engine/corefile/corefile.h"
#include "engine/platform/clock.h"

namespace {

uint32_t now;
int keyword;
int waitcalls;
int waitgiveup;  // polls the wait hook allows before a key appears (-1: never)

uint32_t testclock() { return now; }
int testkeys() { return keyword; }
int testwait() {
    waitcalls++;
    if (waitgiveup < 0) return 0;
    if (waitcalls >= waitgiveup) keyword = 0x8;  // cursor right arrives
    return 1;
}

class Chip8 : public ::testing::Test {
protected:
    void SetUp() override {
        chip8_resetcpu();
        memset(chip_vreg, 0, sizeof chip_vreg);
        chip_keypressed = 0;
        chip_charset = 0;
        now = 1000;
        chiptime = now;  // no timer tick unless a test moves the clock
        keyword = 0;
        waitcalls = 0;
        waitgiveup = -1;
        vxe_setclock(testclock);
        chip8_setkeysource(testkeys);
        chip8_setwaithook(nullptr);
    }
    void TearDown() override {
        vxe_setclock(nullptr);
        chip8_setkeysource(nullptr);
        chip8_setwaithook(nullptr);
    }
    // Writes instructions from address at and points PC there.
    static void program(std::initializer_list<int> ops, int at = 0x200) {
        for (int op : ops) {
            chip_memory[at++] = (unsigned char)(op >> 8);
            chip_memory[at++] = (unsigned char)op;
        }
    }
    static void steps(int n) {
        for (int i = 0; i < n; i++) chip8_runcpu();
    }
    // Runs a single instruction at 0x200 from a fresh PC.
    static void exec(int op) {
        chip_programcounter = 0x200;
        program({op});
        chip8_runcpu();
    }
    static std::string row(int y) {
        std::string s;
        for (int x = 0; x < 64; x++) s += chip8_pixel(x, y) ? '#' : '.';
        return s;
    }
};

TEST_F(Chip8, ResetClearsMachineButKeepsRegistersAndFlags) {
    memset(chip_memory, 0x55, sizeof chip_memory);
    memset(chip_screen, 0xAA, sizeof chip_screen);
    chip_vreg[3] = 42;
    chip_stack[0] = 0x345;
    chip_charset = 1;
    chip_keypressed = 7;
    chip_programcounter = 0x400;
    chip_iregister = 0x123;
    chip_delaytimer = chip_soundtimer = 9;
    chip_stackpointer = 5;
    chip8_resetcpu();
    for (unsigned char b : chip_memory) ASSERT_EQ(b, 0);
    for (unsigned char b : chip_screen) ASSERT_EQ(b, 0);
    EXPECT_EQ(chip_programcounter, 0x200);
    EXPECT_EQ(chip_iregister, 0);
    EXPECT_EQ(chip_delaytimer, 0);
    EXPECT_EQ(chip_soundtimer, 0);
    EXPECT_EQ(chip_stackpointer, 0);
    EXPECT_EQ(chip_screenwidth, 64);
    EXPECT_EQ(chip_screenheight, 32);
    EXPECT_EQ(chip_vreg[3], 42);
    EXPECT_EQ(chip_stack[0], 0x345u);
    EXPECT_EQ(chip_charset, 1);
    EXPECT_EQ(chip_keypressed, 7);
}

TEST_F(Chip8, LoadsProgramsFromTheFileSystemSafely) {
    char dir[] = "/tmp/chip8testXXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::string base = dir;
    auto write = [&](const char *name, int size) {
        FILE *f = fopen((base + "/" + name).c_str(), "wb");
        for (int i = 0; i < size; i++) fputc((i * 7 + 1) & 0xFF, f);
        fclose(f);
    };
    write("small.ch8", 246);
    write("huge.ch8", 5000);
    ASSERT_TRUE(corefile_mountimage(dir, 2));

    testing::internal::CaptureStdout();
    chip8_loadrom("small.ch8");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("rom loaded: small.ch8, size: 246\n"), std::string::npos) << out;
    EXPECT_EQ(chip_romsize, 246);
    EXPECT_EQ(chip_memory[0x200], 1);
    EXPECT_EQ(chip_memory[0x2F5], (245 * 7 + 1) & 0xFF);
    EXPECT_EQ(chip_memory[0x2F6], 0);

    // A missing program loads nothing, says so, and leaves memory alone.
    chip_programcounter = 0x300;
    testing::internal::CaptureStdout();
    chip8_loadrom("missing.ch8");
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("rom not found: missing.ch8"), std::string::npos) << out;
    EXPECT_EQ(out.find("rom loaded"), std::string::npos);
    EXPECT_EQ(chip_romsize, 246);
    EXPECT_EQ(chip_programcounter, 0x300);
    EXPECT_EQ(chip_memory[0x200], 1);

    // An oversized one is cut at the end of memory.
    chip8_resetcpu();
    testing::internal::CaptureStdout();
    chip8_loadrom("huge.ch8");
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("rom loaded: huge.ch8, size: 3584"), std::string::npos) << out;
    EXPECT_EQ(chip_romsize, CHIP8_MAXROM);
    EXPECT_EQ(chip_memory[0xFFF], ((CHIP8_MAXROM - 1) * 7 + 1) & 0xFF);

    corefile_closeimage();
    unlink((base + "/small.ch8").c_str());
    unlink((base + "/huge.ch8").c_str());
    rmdir(dir);
}

TEST_F(Chip8, KeypadTakesTheLastMappedKeyInTestingOrder) {
    const struct { int word, pressed; } cases[] = {
        {0x0, 0},         {0x4, 0x4 + 1},  {0x8, 0x6 + 1},  {0x1, 0x2 + 1},   {0x2, 0x8 + 1},
        {0x10, 0x5 + 1},  {0x20, 0xA + 1}, {0x40, 0xB + 1}, {0x80, 0xC + 1},  {0x1000, 0xF + 1},
        {0x4 | 0x10, 6},  // left and space: space wins
        {0x1 | 0x2, 9},   // up and down: down wins
        {0x80 | 0x1000, 16},
        {0x8000 | 0x100, 0},  // unmapped bits press nothing
    };
    for (const auto &c : cases) {
        keyword = c.word;
        chip_keypressed = 3;
        chip8_handlekeys();
        EXPECT_EQ(chip_keypressed, c.pressed) << "key word " << std::hex << c.word;
    }
}

TEST_F(Chip8, SkipsJumpsCallsAndReturns) {
    chip_vreg[1] = 0x42;
    chip_vreg[2] = 0x42;
    chip_vreg[3] = 0x07;
    const struct { int op, pc; } cases[] = {
        {0x3142, 0x204}, {0x3143, 0x202},  // 3XNN
        {0x4142, 0x202}, {0x4143, 0x204},  // 4XNN
        {0x5120, 0x204}, {0x5130, 0x202}, {0x512F, 0x204},  // 5XYN ignores N
        {0x9120, 0x202}, {0x9130, 0x204}, {0x913F, 0x204},  // 9XYN
        {0x1ABC, 0xABC},                                    // 1NNN
        {0x0123, 0x202},                                    // 0NNN does nothing
    };
    for (const auto &c : cases) {
        exec(c.op);
        EXPECT_EQ(chip_programcounter, c.pc) << std::hex << c.op;
    }

    // BNNN adds V0; the target stays inside memory.
    chip_vreg[0] = 4;
    exec(0xB300);
    EXPECT_EQ(chip_programcounter, 0x304);
    chip_vreg[0] = 0xFF;
    exec(0xBFFF);
    EXPECT_EQ(chip_programcounter, (0xFFF + 0xFF) & 0xFFF);

    // A call pushes its own address; the return lands after it.
    chip_programcounter = 0x200;
    program({0x2300});
    program({0x00EE}, 0x300);
    chip8_runcpu();
    EXPECT_EQ(chip_programcounter, 0x300);
    EXPECT_EQ(chip_stackpointer, 1);
    EXPECT_EQ(chip_stack[0], 0x200u);
    chip8_runcpu();
    EXPECT_EQ(chip_programcounter, 0x202);
    EXPECT_EQ(chip_stackpointer, 0);

    // A return on an empty stack and a call on a full one are dropped.
    exec(0x00EE);
    EXPECT_EQ(chip_programcounter, 0x202);
    EXPECT_EQ(chip_stackpointer, 0);
    chip_programcounter = 0x200;
    program({0x2200});  // calls itself: 64 calls fill the stack
    steps(65);
    EXPECT_EQ(chip_stackpointer, 64);
    EXPECT_EQ(chip_programcounter, 0x202);

    // The program counter wraps at the end of memory.
    chip_programcounter = 0xFFE;
    program({0x6A11}, 0xFFE);
    chip8_runcpu();
    EXPECT_EQ(chip_vreg[0xA], 0x11);
    EXPECT_EQ(chip_programcounter, 0x000);
}

TEST_F(Chip8, ArithmeticWritesTheFlagBeforeTheResult) {
    const struct { int op, vx, vy, vf, wantx, wantf; } cases[] = {
        // op      VX    VY    VF    VX'   VF'
        {0x6AFE, 0x00, 0x00, 0x33, 0xFE, 0x33},  // 6XNN
        {0x7AFF, 0x01, 0x00, 0x33, 0x00, 0x33},  // 7XNN wraps, VF unchanged
        {0x8AB0, 0x01, 0x9C, 0x33, 0x9C, 0x33},
        {0x8AB1, 0xF0, 0x0F, 0x33, 0xFF, 0x33},
        {0x8AB2, 0xF3, 0x3F, 0x33, 0x33, 0x33},
        {0x8AB3, 0xFF, 0x0F, 0x33, 0xF0, 0x33},
        {0x8AB4, 0xFF, 0x01, 0x33, 0x00, 0x01},
        {0x8AB4, 0x7F, 0x01, 0x33, 0x80, 0x00},
        {0x8AB5, 0x20, 0x20, 0x33, 0x00, 0x01},
        {0x8AB5, 0x10, 0x20, 0x33, 0xF0, 0x00},
        {0x8AB6, 0x05, 0x00, 0x33, 0x02, 0x01},
        {0x8AB7, 0x20, 0x10, 0x33, 0xF0, 0x00},
        {0x8AB7, 0x10, 0x20, 0x33, 0x10, 0x01},
        {0x8ABE, 0x81, 0x00, 0x33, 0x02, 0x01},
        {0x8AB8, 0x12, 0x34, 0x33, 0x12, 0x33},  // undefined ALU forms do nothing
        {0x8ABF, 0x12, 0x34, 0x33, 0x12, 0x33},
        {0xCA00, 0x12, 0x00, 0x33, 0x00, 0x33},  // random AND 0
    };
    for (const auto &c : cases) {
        chip_vreg[0xA] = c.vx;
        chip_vreg[0xB] = c.vy;
        chip_vreg[0xF] = c.vf;
        exec(c.op);
        EXPECT_EQ(chip_vreg[0xA], c.wantx) << std::hex << c.op;
        EXPECT_EQ(chip_vreg[0xF], c.wantf) << std::hex << c.op;
    }

    // VF as the second operand: the operand is the freshly written flag.
    chip_vreg[2] = 200;
    chip_vreg[0xF] = 100;
    exec(0x82F4);
    EXPECT_EQ(chip_vreg[0xF], 1);
    EXPECT_EQ(chip_vreg[2], 201);
    // VF as the target: the result overwrites the flag.
    chip_vreg[0xF] = 0x10;
    chip_vreg[3] = 0x20;
    exec(0x8F35);  // flag 0 (0x10 < 0x20), then 0 - 0x20
    EXPECT_EQ(chip_vreg[0xF], 0xE0);
    chip_vreg[0xF] = 0x81;
    exec(0x8F0E);  // flag 1, then 1 << 1
    EXPECT_EQ(chip_vreg[0xF], 0x02);

    for (int i = 0; i < 200; i++) {  // CXNN keeps only the mask bits
        exec(0xC50F);
        ASSERT_EQ(chip_vreg[5] & 0xF0, 0);
    }
}

TEST_F(Chip8, MemoryInstructionsStayInsideMemoryAndKeepI) {
    exec(0xA123);
    EXPECT_EQ(chip_iregister, 0x123);
    chip_vreg[4] = 0x10;
    chip_vreg[0xF] = 0x77;
    exec(0xF41E);
    EXPECT_EQ(chip_iregister, 0x133);
    EXPECT_EQ(chip_vreg[0xF], 0x77);

    chip_vreg[4] = 254;
    exec(0xF433);
    EXPECT_EQ(chip_memory[0x133], 2);
    EXPECT_EQ(chip_memory[0x134], 5);
    EXPECT_EQ(chip_memory[0x135], 4);

    for (int i = 0; i < 16; i++) chip_vreg[i] = (unsigned char)(0xA0 + i);
    exec(0xF055);  // X = 0 stores V0 only
    EXPECT_EQ(chip_memory[0x133], 0xA0);
    EXPECT_EQ(chip_memory[0x134], 5);
    EXPECT_EQ(chip_iregister, 0x133);
    exec(0xF355);
    EXPECT_EQ(chip_memory[0x136], 0xA3);
    EXPECT_EQ(chip_memory[0x137], 0);
    memset(chip_vreg, 0, 4);
    exec(0xF265);
    EXPECT_EQ(chip_vreg[0], 0xA0);
    EXPECT_EQ(chip_vreg[2], 0xA2);
    EXPECT_EQ(chip_vreg[3], 0);
    EXPECT_EQ(chip_iregister, 0x133);

    // I near the top: accesses wrap to the bottom of memory, never past it.
    chip_iregister = 0xFFE;
    chip_vreg[3] = 0xA3;
    exec(0xF355);
    EXPECT_EQ(chip_memory[0xFFE], 0xA0);
    EXPECT_EQ(chip_memory[0xFFF], 0xA1);
    EXPECT_EQ(chip_memory[0x000], 0xA2);
    EXPECT_EQ(chip_memory[0x001], 0xA3);
    chip_iregister = 0xFF0;
    chip_vreg[4] = 0xFF;
    exec(0xF41E);
    EXPECT_EQ(chip_iregister, (0xFF0 + 0xFF) & 0xFFF);
}

TEST_F(Chip8, FontFlagRoutesOneSpriteDrawToTheCharacterTable) {
    // Memory at 0x032 holds a pattern the glyph A does not have.
    for (int i = 0; i < 5; i++) chip_memory[0x032 + i] = 0x0F;
    chip_vreg[0] = 0xA;
    chip_vreg[1] = 0;
    program({0xF029, 0xA032, 0xD115, 0xD115});
    steps(2);
    EXPECT_EQ(chip_iregister, 0x032);
    EXPECT_EQ(chip_charset, 1);
    chip8_runcpu();  // reads glyph A, then clears the flag
    EXPECT_EQ(chip_charset, 0);
    EXPECT_EQ(row(0).substr(0, 8), "####....");
    EXPECT_EQ(row(1).substr(0, 8), "#..#....");
    EXPECT_EQ(row(4).substr(0, 8), "#..#....");
    chip8_runcpu();  // reads memory now
    EXPECT_EQ(row(0).substr(0, 8), "########");

    // Glyph 0 as documented; FX33 and ANNN in between change nothing of it.
    chip8_clearscreen();
    chip_vreg[0] = 0;
    chip_vreg[1] = 254;
    chip_programcounter = 0x200;
    program({0xF029, 0xA300, 0xF133, 0xA000, 0xD005});
    steps(5);
    EXPECT_EQ(chip_memory[0x300], 2);  // FX33 wrote memory, not the table
    EXPECT_EQ(row(0).substr(0, 4), "####");
    for (int y = 1; y <= 3; y++) EXPECT_EQ(row(y).substr(0, 4), "#..#");
    EXPECT_EQ(row(4).substr(0, 4), "####");

    // Large glyph 9 (VX = 34) and glyphs past the table: only table bytes.
    chip8_clearscreen();
    chip_vreg[1] = 0;
    chip_vreg[2] = 34;
    exec(0xF229);
    chip_programcounter = 0x200;
    program({0xD11A});
    chip8_runcpu();
    EXPECT_EQ(row(0).substr(0, 8), "..####..");
    EXPECT_EQ(row(9).substr(0, 8), ".#####..");
    chip8_clearscreen();
    chip_vreg[2] = 46;  // offset 230: the last 10 bytes, then past the table
    exec(0xF229);
    chip_programcounter = 0x200;
    program({0xD11F});
    chip8_runcpu();
    EXPECT_EQ(row(9).substr(0, 8), "..####..");
    EXPECT_EQ(row(10), std::string(64, '.'));
    chip8_clearscreen();
    chip_vreg[2] = 255;  // offset 1275, far past the table
    exec(0xF229);
    chip_programcounter = 0x200;
    program({0xD11F});
    chip8_runcpu();
    for (int y = 0; y < 32; y++) EXPECT_EQ(row(y), std::string(64, '.'));
    EXPECT_EQ(chip_vreg[0xF], 0);
}

TEST_F(Chip8, WaitForKeyAndKeySkips) {
    keyword = 0x8;  // cursor right: keypad 6, held before the wait
    exec(0xF30A);
    EXPECT_EQ(chip_vreg[3], 6);
    EXPECT_EQ(chip_programcounter, 0x202);

    chip_vreg[1] = 6;
    chip_keypressed = 7;
    exec(0xE19E);
    EXPECT_EQ(chip_programcounter, 0x204);
    exec(0xE1A1);
    EXPECT_EQ(chip_programcounter, 0x202);
    chip_keypressed = 0;
    exec(0xE19E);
    EXPECT_EQ(chip_programcounter, 0x202);
    exec(0xE1A1);
    EXPECT_EQ(chip_programcounter, 0x204);

    // With no key, a wait hook that gives up leaves PC on the FX0A.
    keyword = 0;
    chip_vreg[3] = 0x55;
    chip8_setwaithook(testwait);
    waitgiveup = -1;
    exec(0xF30A);
    EXPECT_EQ(chip_programcounter, 0x200);
    EXPECT_EQ(chip_vreg[3], 0x55);
    // A key that arrives while waiting ends the wait in the same step.
    waitcalls = 0;
    waitgiveup = 3;
    exec(0xF30A);
    EXPECT_EQ(waitcalls, 3);
    EXPECT_EQ(chip_vreg[3], 6);
    EXPECT_EQ(chip_programcounter, 0x202);
}

TEST_F(Chip8, TimersStepOncePerMoreThanTwentyMilliseconds) {
    chip_vreg[2] = 10;
    program({0xF215, 0xF218});
    steps(2);
    EXPECT_EQ(chip_delaytimer, 10);
    EXPECT_EQ(chip_soundtimer, 10);

    // 10 ms a step: only a gap above 20 ms ticks, so every third step.
    program({0x1206}, 0x204);
    program({0x1206}, 0x206);
    chip_programcounter = 0x206;
    int seen[9];
    for (int i = 0; i < 9; i++) {
        now += 10;
        chip8_runcpu();
        seen[i] = chip_delaytimer;
    }
    const int want[9] = {10, 10, 9, 9, 9, 8, 8, 8, 7};
    for (int i = 0; i < 9; i++) EXPECT_EQ(seen[i], want[i]) << "step " << i;
    EXPECT_EQ(chip_soundtimer, 7);

    // A long gap still ticks once; timers stop at 0; FX07 reads the delay.
    chip_delaytimer = 1;
    chip_soundtimer = 0;
    now += 5000;
    chip8_runcpu();
    EXPECT_EQ(chip_delaytimer, 0);
    EXPECT_EQ(chip_soundtimer, 0);
    now += 100;
    chip8_runcpu();
    EXPECT_EQ(chip_delaytimer, 0);
    chip_delaytimer = 0x1234;
    exec(0xF707);
    EXPECT_EQ(chip_vreg[7], 0x34);

    // The clock wrapping round 2^32 still counts as time passing.
    chiptime = 0xFFFFFFF0u;
    now = 0x10;
    chip_delaytimer = 5;
    exec(0x0000);
    EXPECT_EQ(chip_delaytimer, 4);
    EXPECT_EQ(chiptime, 0x10u);
}

TEST_F(Chip8, SpritesXorWrapClipAndSpill) {
    auto draw = [](int x, int y, int n, unsigned char byte) {
        for (int i = 0; i < n; i++) chip_memory[0x300 + i] = byte;
        chip_iregister = 0x300;
        chip8_drawsprite((unsigned char)x, (unsigned char)y, (unsigned char)n);
    };
    draw(3, 2, 2, 0xF0);
    EXPECT_EQ(chip_vreg[0xF], 0);
    EXPECT_EQ(row(2).substr(0, 8), "...####.");
    draw(3, 2, 2, 0xF0);  // drawing it again restores the picture
    EXPECT_EQ(chip_vreg[0xF], 1);
    for (int y = 0; y < 32; y++) ASSERT_EQ(row(y), std::string(64, '.'));

    draw(70, 40, 1, 0x80);  // start position wraps: (6, 8)
    EXPECT_TRUE(chip8_pixel(6, 8));
    chip8_clearscreen();

    draw(0, 30, 5, 0x80);  // rows below the bottom are dropped, not wrapped
    EXPECT_TRUE(chip8_pixel(0, 30));
    EXPECT_TRUE(chip8_pixel(0, 31));
    for (int y = 0; y < 3; y++) EXPECT_FALSE(chip8_pixel(0, y));
    chip8_clearscreen();

    draw(60, 5, 1, 0xFF);  // crossing the right edge continues one row down
    EXPECT_EQ(row(5).substr(56), "....####");
    EXPECT_EQ(row(6).substr(0, 8), "####....");
    chip8_clearscreen();

    draw(60, 31, 1, 0xFF);  // on the last row the spill goes to the spare area
    EXPECT_EQ(row(31).substr(56), "....####");
    EXPECT_EQ(row(0), std::string(64, '.'));
    EXPECT_EQ(chip_screen[256], 0xF0);
    exec(0x00E0);
    EXPECT_EQ(row(31), std::string(64, '.'));
    EXPECT_EQ(chip_screen[256], 0xF0);  // the clear keeps the spare area
    draw(60, 31, 1, 0xFF);
    EXPECT_EQ(chip_vreg[0xF], 1);  // it still collides there

    chip8_clearscreen();
    chip_vreg[0xF] = 1;
    draw(10, 10, 0, 0xFF);  // DXY0 draws nothing
    EXPECT_EQ(chip_vreg[0xF], 0);
    for (int y = 0; y < 32; y++) ASSERT_EQ(row(y), std::string(64, '.'));
}

}  // namespace
