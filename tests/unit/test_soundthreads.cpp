// The mixer on a thread of its own, as the audio device runs it, against an
// application thread that starts, stops, restarts, deletes and re-creates
// sounds, changes volumes and reads offsets, playing flags and the lamps'
// copy of the last block. Built with ThreadSanitizer by scripts/sanitize.sh,
// where any unguarded access between the two threads fails the run. Without
// it the blocks still show a race: every tone is +1000, so a mixed sample
// outside 0..6000 (six tones at full gain) was read from a sound's freed or
// half-made data, or from a table entry that changed under the mixer.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "sound_fixture.h"

namespace {

using SoundThreads = SoundTest;

// A tone of the given length in an empty record; a one-shot shorter than a
// block ends inside the first block that mixes it.
void MakeTone(s_sound *s, int frames, int loop)
{
    Soundsystem_CreateSoundStream(s, nullptr, 44100, 16, 1, frames);
    std::fill_n((int16_t *)s->data, s->length, (int16_t)1000);
    s->loop = (uint32_t)loop; // not yet in the table: the mixer cannot see it
}

TEST_F(SoundThreads, MixerThreadAndApplicationShareTheSoundsSafely)
{
    const int kSounds = 6, kOneShots = 3; // the first three end, the others loop
    for (int i = 0; i < kSounds; i++) {
        sounds.emplace_back();
        MakeTone(&sounds.back(), i < kOneShots ? 300 + 500 * i : 5000 + 1000 * i, i >= kOneShots);
    }

    std::atomic<bool> done{false};
    std::atomic<int> blocks{0}, wrong{0};
    const auto outside = [](int64_t sample, int64_t scale) { return sample < 0 || sample > 6000 * scale; };
    std::thread mixer([&] {
        std::vector<int16_t> block(2 * AUDIODRIVER_FRAMES);
        while (!done) {
            audiodriver_mixbuffers(block.data(), (int)(block.size() * 2), 0);
            for (int16_t sample : block) wrong += outside(sample, 1);
            blocks++;
            // A device waits between pulls, which lets the application in.
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });

    uint64_t seen = 0;
    int restarts = 0;
    for (int frame = 0; frame < 600; frame++) {
        // The copier's way: start a sound again once the mixer has ended it.
        for (s_sound &t : sounds)
            if (!t.playing) {
                Soundsystem_PlaySound(&t, t.loop);
                restarts++;
            }
        s_sound *s = &sounds[frame % kSounds];
        switch (frame % 5) {
        case 0: Soundsystem_StopSound(s); break;
        case 1:
            Soundsystem_SetVolume(s, frame & 255);
            Soundsystem_SetPanning(s, (frame >> 3) & 255);
            Soundsystem_SetMusicVolume(frame & 255);
            break;
        case 2:
            if (const int32_t *copy = Soundsystem_GetOutputBuffer())
                for (int i = 0; i < 2 * AUDIODRIVER_FRAMES; i++) {
                    wrong += outside(copy[i], 256);  // the sums before the shift
                    seen += (uint32_t)copy[i];
                }
            break;
        case 3: Soundsystem_PlayMusic(s, s->loop); break;
        case 4: // delete it and load it again
            Soundsystem_DeleteSound(s);
            MakeTone(s, 300 + 97 * (frame % 23), 0);
            break;
        }
        // The rest of the frame: unlocked reads while the mixer runs a pass,
        // leaving it the processor between rounds on a busy machine.
        for (const int next = blocks + 1; blocks < next; std::this_thread::yield())
            for (const s_sound &t : sounds)
                seen += t.playing + t.position + Soundsystem_GetSoundOffset(t);
    }
    done = true;
    mixer.join();

    EXPECT_GE(blocks, 600);
    EXPECT_EQ(wrong, 0) << "mixed samples outside what the tones can sum to";
    EXPECT_GT(restarts, 600) << "the mixer ended too few sounds";
    EXPECT_GT(seen, 0u) << "the reads never saw a sound playing";
    // The table holds each started sound once, and only playing ones.
    ASSERT_GE(soundsystem.numactive, 0);
    ASSERT_LE(soundsystem.numactive, kSounds);
    for (int i = 0; i < soundsystem.numactive; i++) {
        EXPECT_EQ(1, active_sounds[i]->playing);
        EXPECT_EQ(1, std::count(active_sounds, active_sounds + soundsystem.numactive, active_sounds[i]));
    }
}

} // namespace
