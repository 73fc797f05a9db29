// An offline sound system for the sound tests: records a test makes are
// deleted after it, and Mix() fills one stereo block.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

struct SoundTest : ::testing::Test {
    std::deque<s_sound> sounds; // addresses stay put for the active table
    std::vector<int16_t> out = std::vector<int16_t>(2 * AUDIODRIVER_FRAMES);

    void SetUp() override
    {
        audiodriver_setoffline(1);
        Soundsystem_Init(44100, 16, 2);
    }
    void TearDown() override
    {
        for (s_sound &s : sounds)
            Soundsystem_DeleteSound(&s);
        Soundsystem_CloseAudio();
        audiodriver_setoffline(0);
    }
    // A looping stream of silence: the one way to make a sound without a file.
    s_sound *Stream(int frequency, int channels, int frames = 64, int bits = 16)
    {
        sounds.emplace_back();
        Soundsystem_CreateSoundStream(&sounds.back(), nullptr, frequency, bits, channels, frames);
        return &sounds.back();
    }
    void Mix() { audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0); }
    int Left(int frame) const { return out[2 * frame]; }
    int Right(int frame) const { return out[2 * frame + 1]; }
};
