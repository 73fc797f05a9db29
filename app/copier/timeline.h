// The demo timeline: the effect timer, the automatic change of part every
// PART_DURATION timer units, and the part table that fills the block grid.
#pragma once

#include <stdint.h>

// Timer after a frame of `elapsed` real milliseconds: the sum formed in
// double precision and truncated, so fractions of a step are dropped.
int AdvanceEffectTimer(int timer, uint32_t elapsed, float speed);
// Demo mode: at PART_DURATION the timer restarts and the next part of the
// cycle 3..12 begins.
void AdvanceDemoTimeline(int *timer, int *part);
// The CHIP-8 machine's FX0A hook: 1 to go on waiting for a key inside this
// frame, 0 to give the wait up until the machine's next step.
int Chip8KeepWaiting();
// Runs the current part for one frame into the block grid.
void RunPart();
// End of a frame: advances the timer by the time since the previous frame
// (read from VXE_GetMillis) and, in demo mode, the part.
void AdvanceTimeline();
