// The WAV loader on arbitrary bytes; an accepted sound is then mixed for one
// block, so every sample the loader vouches for is read by the mixer, and a
// refused one must hold no samples.
#include <cstdint>
#include <cstdlib>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    [[maybe_unused]] static int ready = (audiodriver_setoffline(1), Soundsystem_Init(44100, 16, 2));
    s_sound s{};
    if (!Soundsystem_LoadWAVBuffer("fuzz.wav", data, size, &s)) {
        if (s.data || s.size)
            abort();
        return 0;
    }
    Soundsystem_SetFrequency(&s, (int)s.frequency);
    Soundsystem_SetVolume(&s, 255);
    Soundsystem_PlaySound(&s, 1);
    int16_t out[2 * AUDIODRIVER_FRAMES];
    audiodriver_mixbuffers(out, sizeof out, 0);
    Soundsystem_DeleteSound(&s);
    return 0;
}
