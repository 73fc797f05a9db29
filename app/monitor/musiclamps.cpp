// musiclamps: band powers of the last mix block and the lamp decision.
#include "app/monitor/musiclamps.h"

#include <cmath>

#include "engine/sound/soundsystem.h"

float MusicLampBandFrequency(int band)
{
    float f = (float)(3 * band);
    return f * f + 10.0f;
}

float DetectFrequencyInBuffer(const int32_t *values, int count, float frequency, uint32_t mixrate)
{
    if (!values || count <= 0 || mixrate == 0)
        return 0.0f;
    const float coefficient = (float)(2.0 * cos(2.0 * 3.14159265358979323846 * frequency / mixrate));
    float s1 = 0.0f, s2 = 0.0f;
    for (int i = 0; i < count; i++) {
        const float x = (float)(values[i] / 32768.0);
        const float s = coefficient * s1 + x - s2;
        s2 = s1;
        s1 = s;
    }
    return s2 * s2 + s1 * s1 - coefficient * s1 * s2;
}

void ComputeMusicLamps(const int32_t *values, int count, uint32_t mixrate,
                       unsigned char lamps[MUSICLAMP_COUNT])
{
    float power[MUSICLAMP_BANDS];
    for (int i = 0; i < MUSICLAMP_BANDS; i++)
        power[i] = (float)(DetectFrequencyInBuffer(values, count, MusicLampBandFrequency(i), mixrate) * 0.0002);
    for (int k = 0; k < MUSICLAMP_COUNT; k++)
        lamps[k] = (int)(power[2 * k] + power[2 * k + 1]) > 1000 ? 1 : 0;
}

void DetectMusicLamps(unsigned char lamps[MUSICLAMP_COUNT])
{
    // The sound system hands out a copy taken under the mixer's lock, so the
    // block cannot change between the bands.
    const int32_t *block = Soundsystem_GetOutputBuffer();
    ComputeMusicLamps(block, block ? (int)soundsystem.bufferlength : 0, soundsystem.mixrate, lamps);
}

float Soundsystem_DetectFrequency(float frequency)
{
    const int32_t *block = Soundsystem_GetOutputBuffer();
    return DetectFrequencyInBuffer(block, block ? (int)soundsystem.bufferlength : 0, frequency, soundsystem.mixrate);
}
