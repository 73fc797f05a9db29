// The CHIP-8 machine running an arbitrary program with arbitrary keys for
// thousands of steps. Input: a count n, n bytes of key script (one key
// word per sample, cycling), then the program loaded at 0x200. After every
// step the machine must still be inside itself: PC and I in memory, the
// stack within its depth, the display 64x32 and nothing drawn past the
// picture but its one byte of spill.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/chip8/chip8.h"
#include "engine/platform/clock.h"

namespace {

const int kSteps = 4000;
const int kPicture = 64 * 32 / 8;  // bytes of the visible display
const uint8_t *script;
size_t scriptlength;
size_t sample;
uint32_t now;
int waits;

// Script byte b holds the keys of the copier's key word bits 0-7; both
// ends set adds Enter (0x1000), so every key the keypad maps can come.
int scriptedkeys()
{
    if (!scriptlength) return 0;
    uint8_t b = script[sample++ % scriptlength];
    return b | ((b & 0x81) == 0x81 ? 0x1000 : 0);
}

bool spillclean()
{
    static const unsigned char clear[sizeof chip_screen] = {};
    return memcmp(chip_screen + kPicture + 1, clear, sizeof chip_screen - kPicture - 1) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) return 0;
    scriptlength = data[0] < size - 1 ? data[0] : size - 1;
    script = data + 1;
    sample = 0;
    waits = 0;
    now = 0;
    vxe_setclock([] { return now += 7; });
    chip8_setkeysource(scriptedkeys);
    // FX0A samples a few times, then gives up the step and waits again next one.
    chip8_setwaithook([] { return ++waits % 4 != 0 ? 1 : 0; });
    srand(1);  // CXNN: the same input runs the same way

    chip8_resetcpu();
    memset(chip_vreg, 0, sizeof chip_vreg);
    memset(chip_stack, 0, sizeof chip_stack);
    chip_keypressed = chip_charset = 0;
    chiptime = 0;
    chip8_loadbytes(data + 1 + scriptlength, (int)(size - 1 - scriptlength));

    for (int step = 0; step < kSteps; step++) {
        chip8_runcpu();
        bool inside = chip_programcounter >= 0 && chip_programcounter <= 0xFFF && chip_stackpointer >= 0 &&
                      chip_stackpointer <= 64 && chip_iregister >= 0 && chip_iregister <= 0xFFF &&
                      chip_screenwidth == 64 && chip_screenheight == 32 && chip_delaytimer >= 0 &&
                      chip_delaytimer <= 255 && chip_soundtimer >= 0 && chip_soundtimer <= 255;
        if (!inside || !spillclean()) abort();
    }
    return 0;
}
