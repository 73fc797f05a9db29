// gridshot's core: the part table's entry run frame by frame on a 15 ms
// clock, starting from the state the program starts with.
#include "tools/gridshot/gridshot_run.h"

#include <stdlib.h>
#include <string.h>

#include "app/appstate.h"
#include "app/copier/timeline.h"
#include "app/effects/grid_effects.h"
#include "app/effects/shape_effects.h"
#include "app/monitor/blockgrid.h"
#include "engine/platform/controller.h"

static int s_px, s_py;

static void fixedpointer(int *x, int *y)
{
    *x = s_px;
    *y = s_py;
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
    *shot = s_gridshot{0, 0, 1, false, 0, 0, 0, 4489};
    int positional = 0;
    for (int i = first; i < argc; i++) {
        const char *a = argv[i];
        int ok = 0;
        if (!strcmp(a, "--pointer")) {
            shot->pointer = true;
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

// Everything an effect keeps between frames, as at program start.
static void startstate()
{
    memset(blockgrid, 0, sizeof blockgrid);
    memset(xDroplet, 0, sizeof xDroplet);
    memset(yDroplet, 0, sizeof yDroplet);
    memset(balls, 0, sizeof balls);
    memset(sortedBalls, 0, sizeof sortedBalls);
    memset(xShapes, 0, sizeof xShapes);
    memset(yShapes, 0, sizeof yShapes);
    memset(zShapes, 0, sizeof zShapes);
    memset(colShapes, 0, sizeof colShapes);
    dxl = dyl = dxr = dyr = 0;
    // The sequence an unseeded generator gives.
    srand(1);
    setDefaultValues();
}

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
    s_px = shot.px;
    s_py = shot.py;
    VXE_SetMouseMap(shot.pointer ? fixedpointer : nullptr);
    for (int f = 0; f < shot.frames; f++) {
        if (f > 0) effectTimer = AdvanceEffectTimer(effectTimer, 15, effectSpeed);
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        RunPart();
    }
    VXE_SetMouseMap(nullptr);
}

void WriteGrid(FILE *out)
{
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++) fprintf(out, "%d%c", blockgrid[y][x], x + 1 < GRID_WIDTH ? ' ' : '\n');
}
