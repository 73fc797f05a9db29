// timeline: the effect timer, the demo's change of part, and the part table.
#include "app/copier/timeline.h"

#include <limits.h>

#include "app/appstate.h"
#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "app/copier/diskcopy.h"
#include "app/monitor/blockgrid.h"
#include "engine/platform/clock.h"

enum { CHIP8_STEPS_PER_FRAME = 50 };

int AdvanceEffectTimer(int timer, uint32_t elapsed, float speed)
{
    // In single precision the sum loses whole units once the timer passes
    // 2^24 (about 4.7 hours), and a frame's step vanishes altogether later.
    const double sum = (double)timer + (double)elapsed * (double)speed;
    if (sum >= (double)INT_MAX) return INT_MAX;
    if (sum <= (double)INT_MIN) return INT_MIN;
    return (int)sum;
}

void AdvanceDemoTimeline(int *timer, int *part)
{
    if (*timer < PART_DURATION) return;
    *timer = 0;
    *part += 1;
    if (*part > LAST_DEMO_PART) *part = FIRST_DEMO_PART;
}

// Parts 2-12, the effects, each filling the grid in its own way. Until
// they are written the grid keeps what the previous part left.
static void runeffect(int part, float t)
{
    (void)part;
    (void)t;
}

static void runchip8()
{
    FillBlock(0);
    chip8_handlekeys();
    // By instruction count, not by time: the stop button does not halt it.
    for (int i = 0; i < CHIP8_STEPS_PER_FRAME; i++) chip8_runcpu();
    chip8_drawscreen();
    ConvertBitmapToGrid(chip8bitmap);
}

void RunPart()
{
    if (demoPart == 1) DiskCopy(BLEND_NORMAL);
    else if (demoPart >= 2 && demoPart <= LAST_DEMO_PART) runeffect(demoPart, (float)effectTimer);
    else if (demoPart == CHIP8_PART) runchip8();
    // Part 0 only restarts the demo when chosen; it never runs.
}

void AdvanceTimeline()
{
    const uint32_t now = VXE_GetMillis();
    effectTimer = AdvanceEffectTimer(effectTimer, now - prevFrameTimer, effectSpeed);
    prevFrameTimer = VXE_GetMillis();
    if (demoMode) AdvanceDemoTimeline(&effectTimer, &demoPart);
}
