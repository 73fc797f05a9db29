// One frame of each flat effect against clearing the grid, which every
// one of them starts with. No display needed: they only write cells.
#include <benchmark/benchmark.h>

#include "app/appstate.h"
#include "app/effects/grid_effects.h"
#include "bench/grid_baseline.h"

namespace {

// The timer walks through a part so the shapes change from frame to frame.
int nexttimer()
{
    static int timer = 0;
    timer = (timer + 15) % 7680;
    return timer;
}

void BM_Twisterbar(benchmark::State &state)
{
    for (auto _ : state) {
        effectTimer = nexttimer();
        Twisterbar();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Twisterbar);

void BM_SinusLines(benchmark::State &state)
{
    for (auto _ : state) {
        effectTimer = nexttimer();
        SinusLines(BLEND_ADD);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SinusLines);

void BM_MatrixRain(benchmark::State &state)
{
    effectSpeed = 1.0f;
    initmatrixrain();
    for (auto _ : state) {
        matrixrain((float)nexttimer());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MatrixRain);

// 32 discs, each tested against the whole grid: the heaviest of the four.
void BM_EndlessWorms(benchmark::State &state)
{
    for (auto _ : state) {
        endlessworms((float)nexttimer(), (e_blendMode)state.range(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EndlessWorms)->Arg(BLEND_NORMAL)->Arg(BLEND_ADD);

}  // namespace
