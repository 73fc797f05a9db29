// Audio driver and software mixer. The mixer turns the sound system's active
// table into one block of 16-bit output and keeps the 32-bit sums of the last
// block in soundsystem.outputbuffer. It needs no device: tests and an offline
// capture call audiodriver_mixbuffers directly, block by block.
//
// With a device (audiodriver_sdl.h) a ring of four blocks is kept: the device
// pulls blocks through fillnextbuffer, which plays blocks pushed with
// audiodriver_getbuffer/audiodriver_submitbuffer first and otherwise mixes.
#pragma once

#include <cstdint>

enum { AUDIODRIVER_STEREO = 2 };     // flags bit 1: two output channels
enum { AUDIODRIVER_FRAMES = 2048 };  // frames per block, whatever is asked for
enum { AUDIODRIVER_NUMBUFFERS = 4 }; // blocks in the ring

// Opens the device and starts it. Rate 0, or offline mode, runs without a
// device and returns 1. Returns 0 for bits other than 8 and 16, no memory or
// a device that cannot be opened; the program then runs silent.
int audiodriver_init(int rate, int bits, int frames, int flags);

// Stops and closes the device and frees the ring. Blocks the device asks for
// while closing are silence.
void audiodriver_close();

// Mixes every active sound into out (bytes of 16-bit samples, at most one
// block of soundsystem.bufferlength frames; the rest is zeroed).
void audiodriver_mixbuffers(void *out, int bytes, int unused);

// Push interface: hands out the ring block to fill next (either output may
// be null) and returns 1; returns 0 when there is no ring or all four blocks
// are already queued and not yet played.
int audiodriver_getbuffer(void **data, int *length);
// Queues the block handed out by audiodriver_getbuffer for the device.
void audiodriver_submitbuffer();

// The device's pull: the next block to play, or null with no ring. Called by
// the device backend with the lock below held.
const uint8_t *fillnextbuffer();

// Offline mode: audiodriver_init opens no device (tests, capture).
void audiodriver_setoffline(int offline);

// The mixer's lock, held while the device pulls a block and for each mix
// pass, device or not. Recursive, so code running inside the pull (stream
// refills, the mixer stopping a sound) may take it again.
void audiodriver_lock();
void audiodriver_unlock();
