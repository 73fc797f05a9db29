// timeline: the effect timer, the demo's change of part, and the part table.
#include "app/copier/timeline.h"

#include <chrono>
#include <limits.h>
#include <stdlib.h>
#include <thread>

#include "app/appstate.h"
#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "app/copier/diskcopy.h"
#include "app/effects/grid_effects.h"
#include "app/effects/shape_effects.h"
#include "app/effects/shapes.h"
#include "app/grid/blockgrid.h"
#include "engine/platform/backend.h"
#include "engine/platform/clock.h"
#include "engine/platform/controller.h"
#include "engine/platform/input.h"

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
    partBegins = 1;
}

// Parts 2-12, the effects, each filling the grid in its own way. The
// rain and the shape field start afresh on their part's first frame (not
// whenever the timer reads 0, which at speed 0 is every frame).
static void runeffect(int part, float t, bool first)
{
    switch (part) {
    case 2: Eyes((e_blendMode)blendMode); break;
    case 3:
        if (first) initmatrixrain();
        matrixrain(t);
        break;
    case 4:
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        balls3d(SHAPE_DISC, (e_blendMode)blendMode);
        break;
    case 5: petaldance(t); break;
    case 6:
        shapebeat(t, 20, 30, SHAPE_HEART, BLEND_NORMAL);
        CopyLeftRight();
        break;
    case 7:
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        Twisterbar();
        break;
    case 8:
        if (first) initshapefield(false);
        shapefield(t, SHAPE_BUTTERFLY, BLEND_NORMAL);
        break;
    case 9:
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        SinusLines((e_blendMode)blendMode);
        break;
    case 10:
        // New hearts every 16th timer unit; between them the grid keeps
        // the last ones.
        if (effectTimer % 16 == 0) {
            for (int s = 16; s >= 4; s -= 2) DrawHeart(10.0f, 9.0f, (float)s, (unsigned char)(rand() % 32), BLEND_NORMAL);
            CopyLeftRight();
        }
        break;
    case 11: endlessworms(t, BLEND_NORMAL); break;
    case 12:
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        balls3d(SHAPE_HEART, (e_blendMode)blendMode);
        break;
    }
}

// FX0A waits for a key inside the frame. On a frame clock no time passes
// while it waits, so scripted keys could never come; and Escape or closing
// the window must still end the show. In those cases the wait is given up
// and the FX0A runs again at the machine's next step.
int Chip8KeepWaiting()
{
    if (vxe_frameclockstep() || vxe_closerequested()) return 0;
    int held = 0;
    VXE_GetKeys(&held, nullptr);
    if (held & VXE_JOY_ESCAPE) return 0;
    // The keys come from the message thread; no need to spin a core for them.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
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
    const bool first = partBegins != 0;
    partBegins = 0;
    if (demoPart == 1) DiskCopy(BLEND_NORMAL);
    else if (demoPart >= 2 && demoPart <= LAST_DEMO_PART) runeffect(demoPart, (float)effectTimer, first);
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
