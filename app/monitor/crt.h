// The CRT picture: the 320x200 frame drawn through a CRT shader (barrel
// curve, colour fringes, vignette, scanlines) into the bezel's screen
// opening, then the whole monitor into the output buffer with a slow
// breathing zoom.
#pragma once

extern const char vv_floxa[];   // the CRT shader's vertex stage
extern const char ff_floxa[];   // and its fragment stage

extern int cameraframe;         // CRT passes since start, never reset
extern float camerazoom, camerax, cameray;

// Builds the CRT shader into postshader_id; without a usable one the
// frame is shown flat.
void InitCRT();
// Draws framebuffer_id through the CRT into screenbuffer_id, which stays
// the current target, with no shader bound.
void CRT_PostProcess();
// Makes VXE_GetMouse answer in frame pixels under the window pointer.
void InstallPointerMap();
