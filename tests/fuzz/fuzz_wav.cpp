// WAV parser on arbitrary bytes; an accepted file is then mixed for one
// block, so every sample the parser vouches for is read by the mixer.
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"
#include "engine/sound/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool started = false;
    if (!started) {
        audiodriver_setoffline(1);
        Soundsystem_Init(44100, 16, 2);
        started = true;
    }
    // A copy of exactly the input, so reading past it is caught.
    std::vector<uint8_t> file(data, data + size);
    s_wavinfo info;
    if (wav_parse(file.data(), file.size(), &info) != WAV_OK)
        return 0;
    if (info.samples < file.data() || info.samples + info.size > file.data() + file.size())
        __builtin_trap();

    std::vector<uint8_t> samples(info.samples, info.samples + info.size);
    s_sound s;
    memset(&s, 0, sizeof s);
    s.channels = info.channels;
    s.bits = info.bits;
    s.frequency = info.frequency;
    s.size = info.size;
    s.length = info.size / (info.bits / 8);
    s.data = samples.data();
    Soundsystem_SetFrequency(&s, (int)info.frequency);
    Soundsystem_SetVolume(&s, 255);
    Soundsystem_PlaySound(&s, 1);
    int16_t out[2 * AUDIODRIVER_FRAMES];
    audiodriver_mixbuffers(out, sizeof out, 0);
    Soundsystem_StopSound(&s);
    return 0;
}
