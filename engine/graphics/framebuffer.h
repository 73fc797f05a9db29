// Off-screen drawing targets: a colour texture (and optionally a depth
// texture) attached to a framebuffer object. Framebuffer 0 is the
// window-sized one VXE_InitVideo makes. Without working framebuffer
// objects drawing goes to the window's back buffer and presentation copies
// it into the current framebuffer's texture.
#pragma once

#define VXE_MAXFRAMEBUFFERS 16

enum {
    VXE_FRAMEBUFFER_DEPTH = 1,   // has a depth attachment
    VXE_FRAMEBUFFER_LINEAR = 2,  // linear texture filtering (else nearest)
};

struct s_framebuffer {
    int width;
    int height;
    int id;     // index into VXE_framebuffers and VXE_framebufferdata
    int flags;  // VXE_FRAMEBUFFER_* bits
};

struct s_framebufferdata {
    unsigned char *pixels;      // width x height x 4, for the read-back path
    unsigned int fbo;
    unsigned int texture;
    unsigned int depthtexture;  // VXE_FRAMEBUFFER_DEPTH only
};

extern s_framebuffer VXE_framebuffers[VXE_MAXFRAMEBUFFERS];
extern s_framebufferdata VXE_framebufferdata[VXE_MAXFRAMEBUFFERS];
extern s_framebuffer *VXE_FrameBuffer;  // the current drawing target
extern int VXE_numframebuffers;

// True when the GL offers framebuffer objects at all.
bool vxe_hasframebufferobjects();

// Returns the new id (handed out in creation order), or -1 when the table
// is full. The new framebuffer does not become current.
int VXE_CreateFrameBuffer(int width, int height, int flags);
// Makes framebuffer `id` the drawing target, viewport covering it.
void VXE_SetFrameBuffer(int id);
int VXE_GetFrameBufferWidth();
int VXE_GetFrameBufferHeight();
unsigned int VXE_GetFrameBufferTexture(int id);
unsigned int VXE_GetFrameBufferDepth(int id);
// Clears the current framebuffer to colour 0xAABBGGRR (red lowest).
void VXE_ClearFrameBuffer(int color);
// Draws framebuffer `id` stretched to (x, y, w, h) of the current target,
// upright; never into itself.
void VXE_DrawFrameBuffer(int x, int y, int w, int h, int id);
