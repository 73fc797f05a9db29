// The frame: start-up's buffers and one frame of the copier in named steps.
// RunFrame takes the steps in the loop's order; the copier fixture, the
// frame benchmark and gridshot call the same steps, so what they measure
// and test is the frame the show runs.
#pragma once

#include "app/appstate.h"

// The 320x200 frame, the monitor and the output buffers, the frame made the
// drawing target, and the CRT pass built on them.
void CreateFrameBuffers();

// ---- one frame, in order (AdvanceTimeline, timeline.h, is the last) ----

// The frame's time, then the keys: Escape or a closed window end the show
// once this frame is done. Waits for the frame's refresh slot.
void BeginFrame();
// The copier's screen without the sector map, into the frame.
void DrawCopierBackground();
// Reads the pointer, the frame's one reading of it.
void ReadPointer(int *x, int *y, int *buttons);
// The copier's logic for that reading: controls and pop-ups, then the part
// into the block grid. Draws nothing with GL.
void UpdateCopier(int x, int y, int buttons);
// The sector map, the status line and the cursor over the frame.
void DrawCopierFront();
// The CRT pass and the present; a frame clock moves on by one slot.
void PresentFrame();

// All of the above, then AdvanceTimeline.
void RunFrame();
