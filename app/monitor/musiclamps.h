// musiclamps: the eight drive lamps that flash with the music.
// Sixteen Goertzel filters run over one block of the mixer's 32-bit
// accumulation values (channels interleaved, read as one sequence); each
// lamp watches two neighbouring bands. No allocation, no I/O: the copier
// screen and the asset checks share this code.
#pragma once
#include <cstdint>

enum { MUSICLAMP_BANDS = 16, MUSICLAMP_COUNT = 8 };

// Centre of band i (0-15): (3i)^2 + 10 Hz.
float MusicLampBandFrequency(int band);

// Signal power at one frequency over the first count values, for a mix at
// mixrate Hz (Goertzel; values are scaled by 1/32768 on the way in).
float DetectFrequencyInBuffer(const int32_t *values, int count, float frequency, uint32_t mixrate);

// Lamp flags (1 lit, 0 dark) for one block of mix values.
void ComputeMusicLamps(const int32_t *values, int count, uint32_t mixrate,
                       unsigned char lamps[MUSICLAMP_COUNT]);

// The same over the sound system's last mix pass (its first bufferlength
// values). One copy of the block serves all sixteen bands, so every lamp
// sees the same pass. All dark before the sound system is started.
void DetectMusicLamps(unsigned char lamps[MUSICLAMP_COUNT]);

// Power at one frequency over the last mix pass; 0 with no sound system.
float Soundsystem_DetectFrequency(float frequency);
