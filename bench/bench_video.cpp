// Per-frame cost of the video layer: drawing quads into the 320x200 frame
// and presenting it on a 1280x720 window, with and without the post
// shader. Needs a display (tests/with_display.sh bench_video). The rejected
// quad is the baseline: the cost of a call that never reaches GL.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include "engine/graphics/draw2d.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/shader.h"
#include "engine/graphics/video.h"

namespace {

int frame = -1;
int postshader = -1;

void setup()
{
    if (frame >= 0)
        return;
    VXE_InitVideo(1280, 720, 0);
    frame = VXE_CreateFrameBuffer(320, 200, VXE_FRAMEBUFFER_LINEAR);
    postshader = VXE_InitDefaultPostShader();
}

void BM_QuadRejected(benchmark::State &state)
{
    setup();
    VXE_SetFrameBuffer(frame);
    for (auto _ : state)
        VXE_DrawQuad(-20, 10, 10, 10, 0, 0, 1, 1);
}
BENCHMARK(BM_QuadRejected);

// A frame's worth of 8x8 textured quads, finished on the GPU.
void BM_DrawQuads(benchmark::State &state)
{
    setup();
    const int count = (int)state.range(0);
    VXE_SetFrameBuffer(frame);
    VXE_BindTexture((int)vxe_whitetexture_id);
    for (auto _ : state) {
        for (int i = 0; i < count; i++)
            VXE_DrawQuad((float)(i * 8 % 320), (float)(i / 40 * 8 % 200), 8, 8, 0, 0, 1, 1);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DrawQuads)->Arg(100)->Arg(1000);

void BM_Present(benchmark::State &state)
{
    setup();
    VXE_SetPostShader(state.range(0) ? postshader : -1);
    VXE_SetScanlineValue(0.5f);
    VXE_SetFrameBuffer(frame);
    for (auto _ : state) {
        VXE_ClearFrameBuffer((int)0xFF204060);
        VXE_SwapBuffers();
    }
    VXE_SetPostShader(-1);
}
BENCHMARK(BM_Present)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
