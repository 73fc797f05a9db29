// Frame pacing and frame counting on the platform's millisecond clock.
// No GL here, so the arithmetic can be checked without a display.
#pragma once

#include <stdint.h>

extern uint32_t VXE_video_updatespeed;  // milliseconds per frame, never 0
extern uint32_t VXE_video_time;         // tick at which the last frame wait ended
extern uint32_t VXE_video_numframes;    // frames begun since the last fps sample
extern uint32_t VXE_video_oldtime;      // tick of the last fps sample
extern uint32_t VXE_video_fps;          // frames counted in the last whole second

// Positive: frames per second (the frame time comes out about a tenth
// shorter than the display period). Negative: the frame time in ms.
void VXE_SetRefreshRate(int rate);
// Busy-waits for the next frame slot; returns the last frame's duration as
// a multiple of the nominal frame time.
float VXE_WaitRefresh();
// Frames begun in the last sampled second.
unsigned int VXE_GetFPS();
