// gridshot's core: the part table's entry run frame by frame on a 15 ms
// clock, starting from the state the program starts with.
#include "tools/gridshot/gridshot_run.h"

#include <stdlib.h>
#include <string.h>

#include "app/appstate.h"
#include "app/copier/timeline.h"
#include "app/effects/grid_effects.h"
#include "app/effects/shape_effects.h"
#include "app/frameloop.h"
#include "app/grid/blockgrid.h"
#include "engine/platform/clock.h"

// The shot's own clock: 15 ms a frame from 0.
static uint32_t g_now;
static uint32_t shotclock()
{
    return g_now;
}

// A whole number in [low, high] from text, or 0 when it is not one.
static int number(const char *text, int low, int high, int *value)
{
    char *end = nullptr;
    const long v = strtol(text, &end, 10);
    if (!*text || *end || v < low || v > high) return 0;
    *value = (int)v;
    return 1;
}

int ParseGridShot(int argc, char **argv, int first, s_gridshot *shot, FILE *err)
{
    *shot = s_gridshot{0, 0, 1, 0, 0, 0, 4489};
    int positional = 0;
    for (int i = first; i < argc; i++) {
        const char *a = argv[i];
        int ok = 0;
        if (!strcmp(a, "--pointer")) {
            ok = i + 2 < argc && number(argv[i + 1], -1000000, 1000000, &shot->px) &&
                 number(argv[i + 2], -1000000, 1000000, &shot->py);
            i += 2;
        } else if (!strcmp(a, "--blend")) {
            ok = i + 1 < argc && number(argv[++i], 0, 2, &shot->blend);
        } else if (!strcmp(a, "--synch")) {
            ok = i + 1 < argc && number(argv[++i], 0, 9999, &shot->synch);
        } else if (positional < 3) {
            // PART, TIMER, FRAMES in that order.
            static const int low[3] = {2, 0, 1}, high[3] = {12, 2147483647, 1000000};
            int *const value[3] = {&shot->part, &shot->timer, &shot->frames};
            ok = number(a, low[positional], high[positional], value[positional]);
            positional++;
        }
        if (!ok) {
            fprintf(err, "gridshot: bad argument '%s'\n", a);
            return 0;
        }
    }
    if (positional < 2) {
        fprintf(err, "gridshot: PART and TIMER are needed\n");
        return 0;
    }
    return 1;
}

// Everything a part keeps between frames, as at program start.
static void startstate()
{
    SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
    FillBlock(0);
    ResetGridEffects();
    ResetShapeEffects();
    ResetPointerState();
    // The sequence an unseeded generator gives.
    srand(1);
    setDefaultValues();
}

// The frame's update and timeline steps, without drawing, on the shot's clock.
void RunGridShot(const s_gridshot &shot)
{
    startstate();
    blendMode = shot.blend;
    synch = shot.synch;
    effectSpeed = SpeedFromSynch(synch);
    demoMode = 0;
    demoPart = shot.part;
    effectTimer = shot.timer;
    partBegins = 1;
    g_now = prevFrameTimer = 0;
    vxe_setclock(shotclock);
    for (int f = 0; f < shot.frames; f++) {
        if (f > 0) {
            g_now += 15;
            AdvanceTimeline();
        }
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        UpdateCopier(shot.px, shot.py, 0);
    }
    vxe_setclock(nullptr);
}

void WriteGrid(FILE *out)
{
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++) fprintf(out, "%d%c", blockgrid[y][x], x + 1 < GRID_WIDTH ? ' ' : '\n');
}
