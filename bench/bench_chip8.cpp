// CHIP-8 steps per second: a tight ALU loop against a sprite-drawing loop,
// both on the real interpreter with a frozen clock.
#include <benchmark/benchmark.h>

#include <initializer_list>

#include "app/chip8/chip8.h"
#include "engine/platform/clock.h"

namespace {

uint32_t frozen() { return 1000; }

void load(std::initializer_list<int> ops)
{
    vxe_setclock(frozen);
    chip8_resetcpu();
    int at = 0x200;
    for (int op : ops) {
        chip_memory[at++] = (unsigned char)(op >> 8);
        chip_memory[at++] = (unsigned char)op;
    }
}

void run(benchmark::State &state)
{
    for (auto _ : state) {
        for (int i = 0; i < 50; i++) chip8_runcpu();  // one demo frame
        benchmark::DoNotOptimize(chip_vreg);
    }
    state.SetItemsProcessed(state.iterations() * 50);
    vxe_setclock(nullptr);
}

// Baseline: register arithmetic and a jump back.
void BM_Chip8Arithmetic(benchmark::State &state)
{
    load({0x7001, 0x8014, 0x8125, 0x8206, 0x1200});
    run(state);
}

// Sprite drawing across the right edge, with the font flag and a call.
void BM_Chip8Sprites(benchmark::State &state)
{
    load({0x603C, 0x7101, 0xF229, 0xD01F, 0x2210, 0x1200, 0, 0, 0x00EE});
    run(state);
}

}  // namespace

BENCHMARK(BM_Chip8Arithmetic);
BENCHMARK(BM_Chip8Sprites);
