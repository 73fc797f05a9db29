// One frame of the copier's own logic, no drawing: the disk copy (part 1)
// across a whole copy and the CHIP-8 part (part 13) running a real program
// from the archive, next to clearing the grid as a baseline. The frame slot
// they must fit in is 15 ms.
#include <benchmark/benchmark.h>

#include "app/appstate.h"
#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "app/copier/controls.h"
#include "app/copier/diskcopy.h"
#include "app/copier/timeline.h"
#include "app/grid/blockgrid.h"
#include "app/monitor/resources.h"
#include "engine/corefile/corefile.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

namespace {

// The archive, the sounds (mixed by nobody: a started sound stays playing)
// and the CHIP-8 picture, as the frame loop has them. No GL context: the
// picture's upload does nothing.
void Prepare()
{
    static bool done = false;
    if (done) return;
    done = true;
    corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE);
    audiodriver_setoffline(1);
    Soundsystem_Init(44100, 16, 2);
    LoadResources();
    VXE_CreateBitmap(64, 32, &chip8bitmap);
    chip8_setkeysource([] { return 0; });
    setDefaultValues();
}

void BM_ClearGridBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        FillBlock(0);
        benchmark::DoNotOptimize(blockgrid);
    }
}
BENCHMARK(BM_ClearGridBaseline);

// The timer walks through a whole copy, 41 units a frame (about three
// frames a sector), so every stage of it is measured.
void BM_DiskCopyFrame(benchmark::State &state)
{
    Prepare();
    SelectPart(1);
    int timer = 0;
    for (auto _ : state) {
        effectTimer = timer;
        RunPart();
        timer = (timer + 41) % 8400;
        benchmark::DoNotOptimize(blockgrid);
    }
}
BENCHMARK(BM_DiskCopyFrame);

void BM_Chip8Frame(benchmark::State &state)
{
    Prepare();
    ChooseProgram(0);  // "TRIP8DEMO"
    for (auto _ : state) {
        RunPart();
        benchmark::DoNotOptimize(blockgrid);
    }
}
BENCHMARK(BM_Chip8Frame);

}  // namespace
