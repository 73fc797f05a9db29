// Bookkeeping of the 2D drawing state: the render-state mask, the
// texture-bind cache and the per-frame counters. Kept free of GL so the
// caching rules can be checked without a display; draw2d.cpp and
// texture.cpp apply the decisions to GL.
#pragma once

// Render-state bits (VXE_EnableRenderState / VXE_DisableRenderState).
enum {
    VXE_STATE_DEPTHTEST = 1,
    VXE_STATE_ALPHATEST = 2,  // with glAlphaFunc(GL_GREATER, 0): alpha 0 is discarded
    VXE_STATE_BLEND = 4,
    VXE_STATE_LIGHTING = 8,
};

extern int VXE_renderstate;     // bits of the states recorded as on
extern int VXE_lasttextureid;   // texture last bound by VXE_BindTexture, -1 none
extern int VXE_projectionmode;  // 1: rebuild the 2D projection before the next 2D draw

// Per-frame statistics, zeroed by every presentation.
extern int VXE_stats_numtriangles;      // 2 per quad drawn
extern int VXE_stats_numtexturebinds;   // binds VXE_BindTexture really made
extern int VXE_stats_numstateswitches;  // render-state calls that changed something

// Records an enable of `bits`; returns the bits GL must switch on, or 0 when
// the call names a state already on (then it does nothing at all).
int vxe_recordenable(int bits);
// Records a disable of `bits`; returns the bits GL must switch off (all of
// `bits`, even those not recorded as on), or 0 when none of them was on.
int vxe_recorddisable(int bits);
// Records a bind through the cache; returns 1 when GL must really bind.
int vxe_recordbind(int id);
// Forgets the cached texture: something bound a texture behind the cache.
void vxe_forgetbind();
// Starts a new frame: empty cache, counters at 0.
void vxe_resetframestate();
