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

#endif
