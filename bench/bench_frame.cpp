// Cost of one whole copier frame against the bare presentation chain it
// rides on (frame -> CRT shader -> monitor -> output -> window), with the
// pieces of the frame timed on their own to show where the difference
// goes, and the allocations each piece makes. Needs a display and the
// archive (tests/with_display.sh bench_frame).
//
// GL runs asynchronously and llvmpipe rasterises on its own threads, so
// every GL benchmark ends on the GPU (glFinish or VXE_SwapBuffers) and is
// timed in wall-clock time.
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <errno.h>
#include <malloc.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/appstate.h"
#include "app/chip8/chip8draw.h"
#include "app/copier/controls.h"
#include "app/copier/diskcopy.h"
#include "app/copier/timeline.h"
#include "app/frameloop.h"
#include "app/grid/blockgrid.h"
#include "app/grid/gridview.h"
#include "app/monitor/copierscreen.h"
#include "app/monitor/crt.h"
#include "app/monitor/crtgeometry.h"
#include "app/monitor/musiclamps.h"
#include "app/monitor/resources.h"
#include "app/monitor/statusline.h"
#include "engine/capture/capture.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/draw2d.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/shader.h"
#include "engine/graphics/sprite.h"
#include "engine/graphics/video.h"
#include "engine/platform/clock.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

// ---- allocation counting ---------------------------------------------------
// The engine only counts the file system's allocations, so the program
// interposes the C allocator itself and forwards to glibc. A call is the
// program's own (engine, app) when malloc's caller lies in this
// executable's code; other calls on the benchmark's thread come from the
// shared libraries (Mesa inside the GL calls, libc), and the rest from
// worker threads (llvmpipe's rasterisers).

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *block, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
extern char __executable_start, etext;  // this program's code, from the linker
}

namespace {

std::atomic<long> allocs_own{0}, allocs_libs{0}, allocs_threads{0};
pthread_t mainthread;
std::atomic<bool> mainknown{false};

__attribute__((always_inline)) inline void countalloc(const void *caller)
{
    if (!mainknown.load(std::memory_order_relaxed) || !pthread_equal(pthread_self(), mainthread))
        allocs_threads.fetch_add(1, std::memory_order_relaxed);
    else if (caller >= (const void *)&__executable_start && caller < (const void *)&etext)
        allocs_own.fetch_add(1, std::memory_order_relaxed);
    else
        allocs_libs.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

#define CALLER __builtin_return_address(0)

extern "C" void *malloc(size_t size) noexcept
{
    countalloc(CALLER);
    return __libc_malloc(size);
}

extern "C" void *calloc(size_t count, size_t size) noexcept
{
    countalloc(CALLER);
    return __libc_calloc(count, size);
}

extern "C" void *realloc(void *block, size_t size) noexcept
{
    countalloc(CALLER);
    return __libc_realloc(block, size);
}

extern "C" void *memalign(size_t alignment, size_t size) noexcept
{
    countalloc(CALLER);
    return __libc_memalign(alignment, size);
}

extern "C" void *aligned_alloc(size_t alignment, size_t size) noexcept
{
    countalloc(CALLER);
    return __libc_memalign(alignment, size);
}

extern "C" int posix_memalign(void **out, size_t alignment, size_t size) noexcept
{
    if (alignment < sizeof(void *) || (alignment & (alignment - 1)))
        return EINVAL;
    countalloc(CALLER);
    void *block = __libc_memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *out = block;
    return 0;
}

namespace {

// Allocator calls per iteration of a benchmark's timed loop, and the heap's
// growth in bytes over the whole loop.
struct s_alloccount {
    long own, libs, threads;
    size_t heap;
};

size_t heapinuse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

s_alloccount allocsnow()
{
    return {allocs_own.load(), allocs_libs.load(), allocs_threads.load(), heapinuse()};
}

void reportallocs(benchmark::State &state, const s_alloccount &before)
{
    const s_alloccount after = allocsnow();
    const auto periteration = benchmark::Counter::kAvgIterations;
    state.counters["allocs_own"] = benchmark::Counter((double)(after.own - before.own), periteration);
    state.counters["allocs_libs"] = benchmark::Counter((double)(after.libs - before.libs), periteration);
    state.counters["allocs_thr"] = benchmark::Counter((double)(after.threads - before.threads), periteration);
    state.counters["heap_growth"] = (double)((long)after.heap - (long)before.heap);
}

// ---- set-up, as the frame loop's start-up does it ---------------------------

int bareshader = -1;
double bareframems;  // wall-clock ms per bare chain, for the ratio
int started;         // 0 not yet, 1 ready, -1 no usable CRT shader

bool setup()
{
    if (started)
        return started > 0;
    mainthread = pthread_self();
    mainknown = true;

    VXE_InitVideo(1280, 720, 0);
    corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE);
    CreateFrameBuffers();

    // No audio device: the mixer runs only when called here.
    audiodriver_setoffline(1);
    Soundsystem_Init(44100, 16, 2);
    Soundsystem_LoadSound("flop3.wav", &demomusic);
    Soundsystem_PlayMusic(&demomusic, 1);

    LoadResources();
    VXE_CreateBitmap(64, 32, &chip8bitmap);
    setDefaultValues();
    currentframe = 0;

    bareshader = VXE_InitShader(vv_floxa, ff_floxa);
    started = VXE_ShaderLinked(bareshader) && postshader_id >= 0 ? 1 : -1;
    return started > 0;
}

int16_t mixblock[AUDIODRIVER_FRAMES * 2];

void mix(int blocks)
{
    for (int i = 0; i < blocks; i++)
        audiodriver_mixbuffers(mixblock, (int)sizeof mixblock, 0);
}

// The disk copy run to its end, the grid full of good and bad sectors. The
// drive noises must finish (mixed here, in the device's place) or the copy
// stays parked at its first bad sector.
bool copydone()
{
    if (demoPart == 1 && DisccopyDone && !floppyCorrupt.playing)
        return true;
    SelectPart(1);
    // While the error noise sounds the copy pulls the timer back to the bad
    // sector; each pass pushes it past the end again.
    for (int i = 0; i < 10000; i++) {
        effectTimer = DISK_POSITIONS * speedDivider * 2;
        RunPart();
        if (DisccopyDone && !floppyCorrupt.playing)
            break;
        mix(1);
    }
    int cells = 0;
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++)
            cells += blockgrid[y][x] != 0;
    return DisccopyDone && cells == DISK_POSITIONS * 4;
}

// Music at full volume, a second into the tune, as the lamps see it outside
// the copy (which silences the music). Always the same block, so every run
// analyses the same music.
void musicplaying()
{
    Soundsystem_SetMusicVolume(255);
    Soundsystem_StopSound(&FloxaFinished);
    Soundsystem_SetSoundOffset(&demomusic, 0);
    mix(22);
}

// ---- the frame and its pieces ----------------------------------------------

// The loop's frame without its input and pacing (the pointer rests, and no
// wait for a refresh slot) and without the timeline (each benchmark holds
// its part still).
void drawcopier()
{
    DrawCopierBackground();
    UpdateCopier(mx, my, 0);
    DrawCopierFront();
}

void copierframe()
{
    drawcopier();
    PresentFrame();
}

// The presentation chain with nothing of the copier in it: the same
// buffers, shader, states and camera, no bezel, no clears of the big
// buffers and no interface.
void shaderpass()
{
    VXE_DisableRenderState(VXE_STATE_DEPTHTEST);
    VXE_SetFrameBuffer(crtbuffer_id);
    VXE_BindShader(bareshader);
    VXE_SetShaderUniform1f(bareshader, "time", 0.0f);
    VXE_EnableRenderState(VXE_STATE_ALPHATEST);
    VXE_DrawFrameBuffer(OPENING_X, OPENING_Y, OPENING_WIDTH, OPENING_HEIGHT, framebuffer_id);
    VXE_DisableRenderState(VXE_STATE_ALPHATEST);
    VXE_UnbindShader();
}

void zoompass()
{
    VXE_SetFrameBuffer(screenbuffer_id);
    const s_camera cam = CameraAt(cameraframe++);
    VXE_DrawFrameBuffer(cam.x, cam.y, cam.w, cam.h, crtbuffer_id);
}

void barechain()
{
    VXE_SetFrameBuffer(framebuffer_id);
    VXE_ClearFrameBuffer((int)0xFF204060);
    shaderpass();
    zoompass();
    VXE_SwapBuffers();
}

double wallms(std::chrono::steady_clock::time_point since, int64_t iterations)
{
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - since;
    return iterations ? spent.count() / (double)iterations : 0.0;
}

void BM_BareChain(benchmark::State &state)
{
    if (!setup()) {
        state.SkipWithError("CRT shader unavailable");
        return;
    }
    const s_alloccount before = allocsnow();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        barechain();
    bareframems = wallms(start, state.iterations());
    reportallocs(state, before);
}
BENCHMARK(BM_BareChain)->UseRealTime()->Unit(benchmark::kMillisecond);

// x_bare: this frame's time over the bare chain's, when that ran first.
void BM_WholeFrame(benchmark::State &state)
{
    if (!setup() || !copydone()) {
        state.SkipWithError("no CRT shader, or the disk copy did not finish");
        return;
    }
    const s_alloccount before = allocsnow();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        copierframe();
    const double ms = wallms(start, state.iterations());
    reportallocs(state, before);
    if (bareframems > 0.0)
        state.counters["x_bare"] = ms / bareframems;
}
BENCHMARK(BM_WholeFrame)->UseRealTime()->Unit(benchmark::kMillisecond);

// The whole frame while a capture records it: read back, piped to ffmpeg
// (which encodes on the other core), the sound mixed into the WAV.
void BM_CapturedFrame(benchmark::State &state)
{
    char dir[] = "/tmp/bench_captureXXXXXX", error[256];
    // The window is open already: its size stays.
    const s_captureoptions options = {mkdtemp(dir), 3600, 0, nullptr, 0, 0};
    if (!setup() || !copydone() || !vxe_startcapture(&options, error, sizeof error)) {
        state.SkipWithError("no CRT shader, no finished disk copy, or no capture");
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        copierframe();
    const double ms = wallms(start, state.iterations());
    vxe_finishcapture();
    vxe_setframeclock(0);
    if (bareframems > 0.0)
        state.counters["x_bare"] = ms / bareframems;
    std::system((std::string("rm -rf ") + dir).c_str());
}
BENCHMARK(BM_CapturedFrame)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(10.0);

// The copier's drawing into the 320x200 frame, finished, without the
// presentation; and the presentation (CRT pass, swap) of that frame alone.
void BM_CopierDrawing(benchmark::State &state)
{
    if (!setup() || !copydone()) {
        state.SkipWithError("no CRT shader, or the disk copy did not finish");
        return;
    }
    const s_alloccount before = allocsnow();
    for (auto _ : state) {
        drawcopier();
        glFinish();
    }
    reportallocs(state, before);
}
BENCHMARK(BM_CopierDrawing)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_CRTPostProcess(benchmark::State &state)
{
    if (!setup() || !copydone()) {
        state.SkipWithError("no CRT shader, or the disk copy did not finish");
        return;
    }
    const s_alloccount before = allocsnow();
    for (auto _ : state) {
        CRT_PostProcess();
        VXE_SwapBuffers();
    }
    reportallocs(state, before);
}
BENCHMARK(BM_CRTPostProcess)->UseRealTime()->Unit(benchmark::kMillisecond);

// The copier drawing piece by piece, each finished on the GPU.
void BM_DrawBackgroundUI(benchmark::State &state)
{
    if (!setup())
        return;
    VXE_SetFrameBuffer(framebuffer_id);
    const s_alloccount before = allocsnow();
    for (auto _ : state) {
        DrawBackgroundUI();
        glFinish();
    }
    reportallocs(state, before);
}
BENCHMARK(BM_DrawBackgroundUI)->UseRealTime();

void BM_DrawStatusLine(benchmark::State &state)
{
    if (!setup())
        return;
    VXE_SetFrameBuffer(framebuffer_id);
    const s_alloccount before = allocsnow();
    for (auto _ : state) {
        DrawStatusLine(footerMode);
        glFinish();
    }
    reportallocs(state, before);
}
BENCHMARK(BM_DrawStatusLine)->UseRealTime();

// The floor under every piece above: an empty finish.
void BM_FinishBaseline(benchmark::State &state)
{
    if (!setup())
        return;
    VXE_SetFrameBuffer(framebuffer_id);
    for (auto _ : state)
        glFinish();
}
BENCHMARK(BM_FinishBaseline)->UseRealTime();

// ---- the drive lamps --------------------------------------------------------
// lit: lamps on for the block analysed, to show the block holds music.

void BM_DrawLamps(benchmark::State &state)
{
    if (!setup())
        return;
    musicplaying();
    VXE_SetFrameBuffer(framebuffer_id);
    const s_alloccount before = allocsnow();
    for (auto _ : state) {
        DrawLamps();
        glFinish();
    }
    reportallocs(state, before);
    int lit = 0;
    for (unsigned char lamp : lampgrid)
        lit += lamp;
    state.counters["lit"] = lit;
}
BENCHMARK(BM_DrawLamps)->UseRealTime();

void BM_DetectMusicLamps(benchmark::State &state)
{
    if (!setup())
        return;
    musicplaying();
    unsigned char lamps[MUSICLAMP_COUNT];
    for (auto _ : state) {
        DetectMusicLamps(lamps);
        benchmark::DoNotOptimize(lamps);
    }
    int lit = 0;
    for (unsigned char lamp : lamps)
        lit += lamp;
    state.counters["lit"] = lit;
}
BENCHMARK(BM_DetectMusicLamps);

}  // namespace
