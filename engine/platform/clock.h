// The engine's millisecond clock. Everything that paces or times itself
// reads VXE_GetMillis, so a virtual clock (tests, frame-exact capture) can
// stand in for the real one.
#ifndef VXE_PLATFORM_CLOCK_H
#define VXE_PLATFORM_CLOCK_H

#include <stdint.h>

// Milliseconds of a monotonic clock, wrapping at 2^32.
uint32_t VXE_GetMillis();
// Replaces the clock; null restores the monotonic one.
void vxe_setclock(uint32_t (*clock)());

// A frame clock: virtual time that starts at 0 and moves on by step
// milliseconds at every presented frame and at no other moment, so each
// frame is exactly one slot whatever the machine's speed. Step 0 restores
// the monotonic clock.
void vxe_setframeclock(uint32_t step);
// The frame clock's step, 0 when it is not running. Pacing never waits on
// a frame clock: the next present is the next slot.
uint32_t vxe_frameclockstep();
// Moves the frame clock on by one slot (VXE_SwapBuffers, at each present).
void vxe_clockpresented();

#endif
