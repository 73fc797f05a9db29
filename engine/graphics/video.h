// Video core: opens the window and the GL state every drawing call relies
// on, paces the frame loop and presents the current framebuffer on the
// window (through the post shader when one is set).
//
// Depends on the platform backend (window, GL context, swap) and on the
// framebuffer, shader and 2D drawing modules. Everything here runs on the
// thread that called VXE_InitVideo, which owns the GL context.
#pragma once

#include "engine/graphics/drawstate.h"
#include "engine/graphics/refresh.h"

// Window size and the 32-bit pixel layout (0x00RRGGBB words).
struct s_video {
    int width;
    int height;
    int pitch;          // pixels per row, equals width
    int bpp;
    int bytesperpixel;
    int rmask;
    int gmask;
    int bmask;
    int rshift;
    int gshift;
    int bshift;
    int rbits;
    int gbits;
    int bbits;
};

extern s_video VXE_video;

// ---- Presentation state --------------------------------------------------
extern float VXE_fadevalue;              // brightness handed to the post shader
extern float VXE_scanlinevalue;          // darkening of every odd row
extern int VXE_postshader_id;            // negative: present without a shader
extern int VXE_shaders_enabled;          // set by the platform backend once GL is up
extern int VXE_framebuffers_enabled;     // last framebuffer object was complete
extern unsigned int vxe_whitetexture_id; // 8x8 opaque white, for untextured drawing

// Opens the window (flags bit 0: full screen) and sets up the video layer;
// afterwards framebuffer 0 (window-sized) is the drawing target.
void VXE_InitVideo(int width, int height, int flags);
// Closes the window. The GL objects go with the context.
void VXE_CloseVideo();

// Composes the current framebuffer onto the window and presents it.
void VXE_SwapBuffers();
// Presents the window's back buffer as it is and keeps drawing into it.
void VXE_SwapBuffersBasic();
// Either present is one presented frame: the hook below sees it, a frame
// clock moves on by one slot and a playing script counts it.

// Called with the finished frame still in the back buffer (width x height
// pixels) just before it is shown; null removes it (capture).
void vxe_setpresenthook(void (*hook)(int width, int height));
// Makes VXE_InitVideo open a window of this size whatever the program asks
// for (a capture's picture size); 0 by 0 leaves the choice to the program.
void vxe_forcewindowsize(int width, int height);

// Copies the three per-frame counters.
void VXE_GetRenderStatus(int *triangles, int *texturebinds, int *stateswitches);

// Take effect at the next VXE_SwapBuffers.
void VXE_SetPostShader(int id);
void VXE_SetFadeValue(float value);
void VXE_SetScanlineValue(float value);

// Texture size for an image size: textures always have the image's size.
int PowerOfTwo(int n);
// Kept for callers of the old interface; there is nothing to save.
void VXE_PushGraphics();
void VXE_PopGraphics();
