// The SDL2 audio device: 16-bit interleaved output pulled by SDL's audio
// thread, one driver block per pull.
#pragma once

// Opens the default device at rate Hz, AUDIO_S16SYS, the given channels and
// frames per block, and starts it. Prints SDL's reason and returns 0 when
// SDL audio cannot start or the device is refused.
int audiodriver_sdl_open(int rate, int channels, int frames);
void audiodriver_sdl_close();
