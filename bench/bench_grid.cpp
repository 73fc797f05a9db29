// Per-frame cost of the block grid: DrawGrid of a full grid (656 block
// sprites) into the 320x200 frame against drawing the background picture
// alone, both finished on the GPU. Needs a display and the archive
// (tests/with_display.sh bench_grid).
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <cstring>

#include "app/appstate.h"
#include "app/grid/blockgrid.h"
#include "app/grid/gridview.h"
#include "app/monitor/resources.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/bitmap.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/video.h"

namespace {

int frame = -1;

void setup()
{
    if (frame >= 0)
        return;
    VXE_InitVideo(1280, 720, 0);
    corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE);
    LoadResources();
    frame = VXE_CreateFrameBuffer(320, 200, 0);
    setDefaultValues();
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++)
            blockgrid[y][x] = (unsigned char)(x * 37 + y * 101);
}

void BM_BackgroundBaseline(benchmark::State &state)
{
    setup();
    VXE_SetFrameBuffer(frame);
    for (auto _ : state) {
        VXE_DrawBitmap(0, 0, bmp_background);
        glFinish();
    }
}
BENCHMARK(BM_BackgroundBaseline);

// Argument 0: every cell a different sheet from its neighbour (a texture
// switch per sprite); 1: one colour everywhere, as during most of a copy.
void BM_DrawGrid(benchmark::State &state)
{
    setup();
    unsigned char saved[GRID_HEIGHT][GRID_WIDTH];
    memcpy(saved, blockgrid, sizeof saved);
    if (state.range(0))
        FillBlock(8);
    VXE_SetFrameBuffer(frame);
    for (auto _ : state) {
        DrawGrid(GRID_BOTH);
        glFinish();
    }
    memcpy(blockgrid, saved, sizeof saved);
}
BENCHMARK(BM_DrawGrid)->Arg(0)->Arg(1);

// What a copier frame pays for the middle of the screen.
void BM_BackgroundAndGrid(benchmark::State &state)
{
    setup();
    VXE_SetFrameBuffer(frame);
    for (auto _ : state) {
        VXE_DrawBitmap(0, 0, bmp_background);
        DrawGrid(GRID_BOTH);
        glFinish();
    }
}
BENCHMARK(BM_BackgroundAndGrid);

}  // namespace
