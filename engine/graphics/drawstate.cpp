// Render-state mask, texture-bind cache and per-frame counters. The rules
// here decide which GL calls are made; draw2d.cpp and texture.cpp make them.
#include "engine/graphics/drawstate.h"

int VXE_renderstate;
int VXE_lasttextureid = -1;
int VXE_projectionmode = 1;

int VXE_stats_numtriangles;
int VXE_stats_numtexturebinds;
int VXE_stats_numstateswitches;

int vxe_recordenable(int bits)
{
    // Naming any state that is already on makes the whole call a no-op.
    if (VXE_renderstate & bits)
        return 0;
    VXE_renderstate |= bits;
    VXE_stats_numstateswitches++;
    return bits;
}

int vxe_recorddisable(int bits)
{
    if (!(VXE_renderstate & bits))
        return 0;
    VXE_renderstate &= ~bits;
    VXE_stats_numstateswitches++;
    return bits;
}

int vxe_recordbind(int id)
{
    if (id == VXE_lasttextureid)
        return 0;
    VXE_lasttextureid = id;
    VXE_stats_numtexturebinds++;
    return 1;
}

void vxe_forgetbind()
{
    VXE_lasttextureid = -1;
}

void vxe_resetframestate()
{
    VXE_lasttextureid = -1;
    VXE_stats_numtriangles = 0;
    VXE_stats_numtexturebinds = 0;
    VXE_stats_numstateswitches = 0;
}
