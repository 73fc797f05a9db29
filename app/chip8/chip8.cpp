// CHIP-8 machine state, reset, loading, keypad and instruction execution.
//
// Every memory access is masked to 12 bits and every stack access checked,
// so no program can read or write outside the machine, whatever it holds.
// Flag-setting ALU instructions write VF first and compute the result from
// the registers as they stand afterwards; programs written for this
// machine rely on that order.
#include "app/chip8/chip8.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/chip8/chip8draw.h"
#include "engine/corefile/corefile.h"
#include "engine/platform/clock.h"
#include "engine/platform/controller.h"

unsigned char chip_memory[4096];
unsigned char chip_vreg[16];
uint32_t chip_stack[64];
int chip_stackpointer;
int chip_programcounter;
int chip_iregister;
int32_t chip_delaytimer;
int32_t chip_soundtimer;
unsigned char chip_screen[1024];
int chip_screenwidth;
int chip_screenheight;
int chip_keypressed;
int chip_charset;
int chip_romsize;
uint32_t chiptime;
s_font chip8font;

static const int ADDRESS_MASK = 0xFFF;
static const int STACK_DEPTH = 64;
static const uint32_t TIMER_PERIOD_MS = 20;  // a tick needs strictly more than this

static int enginekeys()
{
    int held = 0, pressed = 0;
    VXE_GetKeys(&held, &pressed);
    return held;
}

static int (*g_keysource)() = enginekeys;
static int (*g_waithook)() = nullptr;

void chip8_setkeysource(int (*source)()) { g_keysource = source ? source : enginekeys; }
void chip8_setwaithook(int (*wait)()) { g_waithook = wait; }

void chip8_resetcpu()
{
    memset(chip_memory, 0, sizeof chip_memory);
    memset(chip_screen, 0, sizeof chip_screen);
    chip_programcounter = 0x200;
    chip_iregister = 0;
    chip_soundtimer = 0;
    chip_delaytimer = 0;
    chip_stackpointer = 0;
    chip_screenwidth = 64;
    chip_screenheight = 32;
}

int chip8_loadbytes(const unsigned char *data, int size)
{
    int n = size < 0 ? 0 : size > CHIP8_MAXROM ? CHIP8_MAXROM : size;
    if (n > 0) memcpy(chip_memory + 0x200, data, n);
    chip_romsize = n;
    chip_programcounter = 0x200;
    return n;
}

void chip8_loadrom(const char *name)
{
    s_corefile handle;
    memset(&handle, 0, sizeof handle);
    if (!corefile_open(name, &handle, 0)) {
        // The open leaves the size undefined: load nothing rather than guess.
        printf("rom not found: %s\n", name);
        return;
    }
    uint32_t size = handle.size;
    uint32_t n = size > (uint32_t)CHIP8_MAXROM ? (uint32_t)CHIP8_MAXROM : size;
    corefile_read(chip_memory + 0x200, 1, n, &handle);
    corefile_close(&handle);
    chip_romsize = (int)n;
    chip_programcounter = 0x200;
    if (n < size) printf("rom too long: %s, %u bytes, only the first %d fit\n", name, size, CHIP8_MAXROM);
    printf("rom loaded: %s, size: %d\n", name, chip_romsize);
}

void chip8_keypress(int key) { chip_keypressed = key + 1; }

void chip8_handlekeys()
{
    // Testing order decides which key wins when several are held.
    static const struct { int bit, key; } keymap[] = {
        {0x4, 0x4}, {0x8, 0x6}, {0x1, 0x2}, {0x2, 0x8}, {0x10, 0x5},
        {0x20, 0xA}, {0x40, 0xB}, {0x80, 0xC}, {0x1000, 0xF},
    };
    int keys = g_keysource();
    chip_keypressed = 0;
    for (const auto &m : keymap)
        if (keys & m.bit) chip8_keypress(m.key);
}

// Returns 1 when the key came, 0 when the wait hook gave up.
static int waitforkey()
{
    do {
        chip8_handlekeys();
        if (chip_keypressed) return 1;
    } while (!g_waithook || g_waithook());
    return 0;
}

static void arithmetic(int x, int y, int n)
{
    unsigned char *v = chip_vreg;
    switch (n) {
    case 0x0: v[x] = v[y]; break;
    case 0x1: v[x] |= v[y]; break;
    case 0x2: v[x] &= v[y]; break;
    case 0x3: v[x] ^= v[y]; break;
    case 0x4: v[0xF] = v[x] + v[y] > 255; v[x] = v[x] + v[y]; break;
    case 0x5: v[0xF] = v[x] >= v[y]; v[x] = v[x] - v[y]; break;
    case 0x6: v[0xF] = v[x] & 1; v[x] = v[x] >> 1; break;
    case 0x7: v[0xF] = v[y] >= v[x]; v[x] = v[y] - v[x]; break;
    case 0xE: v[0xF] = v[x] >> 7; v[x] = v[x] << 1; break;
    default: break;
    }
}

static void miscellaneous(int x, int nn)
{
    unsigned char *v = chip_vreg;
    switch (nn) {
    case 0x07: v[x] = (unsigned char)chip_delaytimer; break;
    case 0x15: chip_delaytimer = v[x]; break;
    case 0x18: chip_soundtimer = v[x]; break;
    case 0x1E: chip_iregister = (chip_iregister + v[x]) & ADDRESS_MASK; break;
    case 0x29:
        chip_iregister = v[x] * 5;
        chip_charset = 1;
        break;
    case 0x33:
        chip_memory[chip_iregister & ADDRESS_MASK] = v[x] / 100;
        chip_memory[(chip_iregister + 1) & ADDRESS_MASK] = v[x] / 10 % 10;
        chip_memory[(chip_iregister + 2) & ADDRESS_MASK] = v[x] % 10;
        break;
    case 0x55:
        for (int i = 0; i <= x; i++) chip_memory[(chip_iregister + i) & ADDRESS_MASK] = v[i];
        break;
    case 0x65:
        for (int i = 0; i <= x; i++) v[i] = chip_memory[(chip_iregister + i) & ADDRESS_MASK];
        break;
    default: break;
    }
}

static void steptimers()
{
    if (VXE_GetMillis() - chiptime > TIMER_PERIOD_MS) {
        chip_delaytimer = chip_delaytimer > 0 ? chip_delaytimer - 1 : 0;
        chip_soundtimer = chip_soundtimer > 0 ? chip_soundtimer - 1 : 0;
        chiptime = VXE_GetMillis();
    }
}

void chip8_runcpu()
{
    int pc = chip_programcounter & ADDRESS_MASK;
    int hi = chip_memory[pc];
    int lo = chip_memory[(pc + 1) & ADDRESS_MASK];
    int op = hi >> 4, x = hi & 0xF, y = lo >> 4, n = lo & 0xF;
    int nnn = ((hi & 0xF) << 8) + lo;
    unsigned char *v = chip_vreg;
    bool jump = false;

    // Loading chip8font is all it takes to see the running instruction on
    // screen. Until then the trace would draw nothing at the price of a
    // formatted print and a font copy per step, so it is skipped.
    if (chip8font.numletters)
        VXE_DrawText(8, 2, chip8font, "PC: %03x [%02x%02x] - OPCODE: %x, X:%x, Y:%x, Z:%x, NNN:%03x\n", pc, hi, lo,
                     op, x, y, n, nnn);

    switch (op) {
    case 0x0:
        if (hi == 0x00 && lo == 0xE0) {
            chip8_clearscreen();
        } else if (hi == 0x00 && lo == 0xEE && chip_stackpointer > 0) {
            chip_stackpointer--;
            pc = chip_stack[chip_stackpointer] & ADDRESS_MASK;
        }
        break;
    case 0x1: pc = nnn; jump = true; break;
    case 0x2:
        if (chip_stackpointer < STACK_DEPTH) {  // a call that would overflow is dropped
            chip_stack[chip_stackpointer++] = pc;
            pc = nnn;
            jump = true;
        }
        break;
    case 0x3: if (v[x] == lo) pc += 2; break;
    case 0x4: if (v[x] != lo) pc += 2; break;
    case 0x5: if (v[x] == v[y]) pc += 2; break;
    case 0x6: v[x] = lo; break;
    case 0x7: v[x] += lo; break;
    case 0x8: arithmetic(x, y, n); break;
    case 0x9: if (v[x] != v[y]) pc += 2; break;
    case 0xA: chip_iregister = nnn; break;
    case 0xB: pc = (nnn + v[0]) & ADDRESS_MASK; jump = true; break;
    case 0xC: v[x] = rand() & lo; break;
    case 0xD: chip8_drawsprite(v[x], v[y], n); break;
    case 0xE:
        if (lo == 0x9E && v[x] + 1 == chip_keypressed) pc += 2;
        if (lo == 0xA1 && v[x] + 1 != chip_keypressed) pc += 2;
        break;
    case 0xF:
        if (lo == 0x0A) {
            if (waitforkey()) v[x] = chip_keypressed - 1;
            else jump = true;  // abandoned: run the FX0A again next step
        } else {
            miscellaneous(x, lo);
        }
        break;
    }

    if (!jump) pc += 2;
    chip_programcounter = pc & ADDRESS_MASK;
    steptimers();
}
