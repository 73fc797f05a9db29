// One frame of each shape effect as the part table calls it, and the disc,
// heart and butterfly alone, next to filling the grid. The timer moves on by a
// 15 ms frame each iteration (wrapping with the part) so that every pose
// of the effect is paid for. No display needed.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/appstate.h"
#include "app/effects/shape_effects.h"
#include "app/effects/shapes.h"
#include "bench/grid_baseline.h"

namespace {

const int FRAME_TICKS = 15;

// A pointer circling around both eyes, as a user's would; the frame hands
// it to the eyes in mx, my.
void movepointer()
{
    static int n;
    n = (n + 7) % 360;
    mx = 140 + n / 2;
    my = 110 + (n * 3) % 70;
}

int nexttimer()
{
    effectTimer = (effectTimer + FRAME_TICKS) % PART_DURATION;
    return effectTimer;
}

void setup()
{
    SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
    effectSpeed = 1.0f;
    effectTimer = 0;
}

// Arg: the shape, 0 balls, 1 hearts.
void BM_Balls3d(benchmark::State &state)
{
    setup();
    for (auto _ : state) {
        nexttimer();
        balls3d((e_shapeType)state.range(0), BLEND_NORMAL);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Balls3d)->Arg(SHAPE_DISC)->Arg(SHAPE_HEART);

// Sixteen shapes; arg: the shape, 2 butterflies (the timeline's), 1 hearts.
void BM_ShapeField(benchmark::State &state)
{
    setup();
    srand(1);
    initshapefield(false);
    for (auto _ : state) {
        shapefield((float)nexttimer(), (e_shapeType)state.range(0), BLEND_NORMAL);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShapeField)->Arg(SHAPE_BUTTERFLY)->Arg(SHAPE_HEART);

void BM_ShapeBeatHeart(benchmark::State &state)
{
    setup();
    for (auto _ : state) {
        shapebeat((float)nexttimer(), 20, 30, SHAPE_HEART, BLEND_NORMAL);
        CopyLeftRight();
        benchmark::ClobberMemory();
    }
    SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
}
BENCHMARK(BM_ShapeBeatHeart);

void BM_Eyes(benchmark::State &state)
{
    setup();
    for (auto _ : state) {
        movepointer();
        Eyes(BLEND_NORMAL);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Eyes);

void BM_PetalDance(benchmark::State &state)
{
    setup();
    for (auto _ : state) {
        petaldance((float)nexttimer());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PetalDance);

// The shapes alone, growing through the sizes the effects draw them at:
// Arg 0 a blended disc over most of the grid, 1 a heart, 2 a butterfly.
void BM_DrawShape(benchmark::State &state)
{
    setup();
    const int shape = (int)state.range(0);
    float size = 2;
    for (auto _ : state) {
        if (shape == 0) DrawCircle(21.5f, 8.5f, size * 2.5f, 2, BLEND_ADD);
        else if (shape == 1) DrawHeart(10, 9, size, 20, BLEND_NORMAL);
        else DrawButterfly(22, 9, size, 4, 30, BLEND_NORMAL);
        size = size > 8 ? 2 : size + 0.25f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawShape)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
