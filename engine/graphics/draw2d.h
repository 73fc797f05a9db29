// Immediate 2D drawing on the fixed-function pipeline: the projection
// switch, render states and blending, and the quads and lines that all
// bitmap, sprite, font and framebuffer drawing ends in.
//
// Coordinates are pixels of the current drawing target, origin top-left,
// y down. Every primitive starts from the 2D projection with an identity
// modelview, depth test and lighting off.
#pragma once

#include "engine/graphics/drawstate.h"
#include "engine/graphics/texture.h"

// 8 palettes of 256 RGB triples; kept for callers, nothing draws with them.
extern unsigned char VXE_Palette[8][256][3];

// ---- Projection and matrices ----------------------------------------------
void VXE_Enable2D();   // pixel-exact orthographic projection of the viewport
void VXE_Disable2D();  // 45 degree perspective for the current framebuffer
void VXE_Perspective(float fov, float aspect, float znear, float zfar);
void VXE_ViewPort(int x, int y, float aspect, float fov, float znear, float zfar);
void VXE_LookAt(float eyex, float eyey, float eyez, float centerx, float centery, float centerz);
void VXE_UpdateMatrix(float *matrix);  // loads 16 floats, column-major
void VXE_UpdateVertexData(float *data, int a, int b);  // no vertex buffers: does nothing
void VXE_DrawFaceList(int a, int b);                   // no vertex buffers: does nothing

// ---- Render states and blending -------------------------------------------
void VXE_EnableRenderState(int bits);   // VXE_STATE_* bits
void VXE_DisableRenderState(int bits);
void VXE_SetBlendMode(int mode);        // 1: src*src + dst*dst, 2: additive; others keep
void VXE_EnableAlphaBlend(float alpha); // classic alpha blending with a global alpha
void VXE_DisableAlphaBlend();

// ---- Primitives ------------------------------------------------------------
// Textured quad with the current texture and colour; (s0, t0) at the top left.
void VXE_DrawQuad(float x, float y, float w, float h, float s0, float t0, float s1, float t1);
// The same, turned by angle degrees (clockwise on screen) about its centre.
void VXE_DrawRotatedQuad(float x, float y, float w, float h, float s0, float t0, float s1,
                         float t1, float angle);
// Quad in colour (0..1 components), modulated by the bound texture.
void VXE_DrawColorQuad(float x, float y, float w, float h, float r, float g, float b);
void VXE_DrawLineRGB(float x1, float y1, float x2, float y2, float r, float g, float b);
// Solid box and line in colour 0x00RRGGBB.
void VXE_DrawBox(int x, int y, int w, int h, int color);
void VXE_DrawLine(int x1, int y1, int x2, int y2, int color);

// Copies count RGB triples to the start of palette `palette` (0..7).
void VXE_SetPallete(int palette, int count, unsigned char *rgb);
