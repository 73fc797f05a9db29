// One mixing pass (2048 stereo frames) with 16 active sounds, against the
// same pass with one sound as the baseline.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

static void MixPass(benchmark::State &state)
{
    const int count = (int)state.range(0);
    audiodriver_setoffline(1);
    Soundsystem_Init(44100, 16, 2);
    std::vector<s_sound> sounds(count);
    for (int i = 0; i < count; i++) {
        s_sound &s = sounds[i];
        // A mix of what the demo plays: 16-bit stereo music, 8- and 16-bit
        // mono effects at their own rates.
        int bits = i % 3 == 2 ? 8 : 16;
        int channels = i == 0 ? 2 : 1;
        int rate = i % 2 ? 22050 : 44100;
        Soundsystem_CreateSoundStream(&s, nullptr, rate, bits, channels, 30000 + 1000 * i);
        for (uint32_t b = 0; b < s.size; b++)
            s.data[b] = (uint8_t)(b * 31 + i);
        Soundsystem_SetPanning(&s, i * 16);
        Soundsystem_PlaySound(&s, 1);
    }
    std::vector<int16_t> out(2 * AUDIODRIVER_FRAMES);
    for (auto _ : state) {
        audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * AUDIODRIVER_FRAMES);
    for (s_sound &s : sounds)
        Soundsystem_DeleteSound(&s);
    Soundsystem_CloseAudio();
}
BENCHMARK(MixPass)->Arg(1)->Arg(16);
