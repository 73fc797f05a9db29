// The mixer driven block by block with no device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

namespace {

const int kFrames = AUDIODRIVER_FRAMES;

// A loaded-looking 16-bit sound at the system's defaults.
s_sound Sound16(const std::vector<int16_t> &samples, int channels, int frequency)
{
    s_sound s;
    memset(&s, 0, sizeof s);
    s.channels = (uint16_t)channels;
    s.bits = 16;
    s.frequency = (uint32_t)frequency;
    s.size = (uint32_t)(samples.size() * 2);
    s.length = (uint32_t)samples.size();
    s.data = (uint8_t *)malloc(s.size);
    memcpy(s.data, samples.data(), s.size);
    Soundsystem_SetFrequency(&s, frequency);
    Soundsystem_SetPanning(&s, 128);
    Soundsystem_SetVolume(&s, 255);
    return s;
}

// Left and right gains at their top: 253 after the mix volumes.
s_sound Constant16(int16_t value, uint32_t length)
{
    s_sound s = Sound16(std::vector<int16_t>(length, value), 1, 44100);
    s.leftvolume = s.rightvolume = 255;
    return s;
}

struct Mixer : ::testing::Test {
    std::vector<int16_t> out;
    std::vector<s_sound *> owned;

    void Start(int channels)
    {
        audiodriver_setoffline(1);
        Soundsystem_Init(44100, 16, channels);
        out.assign((size_t)kFrames * channels, 0x5555);
    }
    void SetUp() override { Start(2); }
    void TearDown() override
    {
        for (s_sound *s : owned) {
            Soundsystem_DeleteSound(s);
            delete s;
        }
        Soundsystem_CloseAudio();
        audiodriver_setoffline(0);
    }
    s_sound *Keep(s_sound s)
    {
        owned.push_back(new s_sound(s));
        return owned.back();
    }
    void Mix() { audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0); }
    int Left(int frame) const { return out[2 * frame]; }
    int Right(int frame) const { return out[2 * frame + 1]; }
};

TEST_F(Mixer, FullVolumesScaleBy253Over256)
{
    s_sound *s = Keep(Constant16(1000, 5000));
    Soundsystem_PlaySound(s, 0);
    Mix();
    for (int f = 0; f < kFrames; f++) {
        ASSERT_EQ(988, Left(f)) << f;
        ASSERT_EQ(988, Right(f)) << f;
    }
    // The application sees the unscaled sums of that pass.
    int32_t *sums = Soundsystem_GetOutputBuffer();
    ASSERT_NE(nullptr, sums);
    EXPECT_EQ(253000, sums[0]);
    EXPECT_EQ(253000, sums[2 * kFrames - 1]);
}

TEST_F(Mixer, MonoOutputUsesTheSoundVolume)
{
    Soundsystem_CloseAudio();
    Start(1);
    s_sound *s = Keep(Constant16(1000, 5000));
    Soundsystem_PlaySound(s, 0);
    Mix();
    for (int f = 0; f < kFrames; f++)
        ASSERT_EQ(988, out[f]) << f;
}

TEST_F(Mixer, SumsSaturateInsteadOfWrapping)
{
    s_sound *a = Keep(Constant16(30000, 5000));
    s_sound *b = Keep(Constant16(30000, 5000));
    s_sound *c = Keep(Constant16(-30000, 5000));
    s_sound *d = Keep(Constant16(-32768, 5000));
    Soundsystem_PlaySound(a, 0);
    Soundsystem_PlaySound(b, 0);
    Mix();
    EXPECT_EQ(32767, Left(0));
    EXPECT_EQ(32767, Right(kFrames - 1));

    Soundsystem_StopSound(a);
    Soundsystem_StopSound(b);
    Soundsystem_PlaySound(c, 0);
    Soundsystem_PlaySound(d, 0);
    Mix();
    EXPECT_EQ(-32767, Left(0)); // never -32768
    EXPECT_EQ(-32767, Right(kFrames - 1));
}

TEST_F(Mixer, LoopKeepsTheFractionAcrossTheLoopPoint)
{
    // Three samples, step 100: the loop point (768) is not a multiple of the step.
    s_sound *s = Keep(Sound16({1000, 2000, 3000}, 1, 17227));
    ASSERT_EQ(100u, s->step);
    Soundsystem_PlaySound(s, 1);
    Mix();
    EXPECT_EQ(1, s->playing);
    // 2048 frames * 100 = 204800 = 266 * 768 + 512.
    EXPECT_EQ(512u, Soundsystem_GetSoundOffset(*s));
    Mix();
    EXPECT_EQ((2 * 204800u) % 768u, Soundsystem_GetSoundOffset(*s));
}

TEST_F(Mixer, OneShotEndingMidBlockLeavesTheRestToTheOthers)
{
    s_sound *shortone = Keep(Constant16(1000, 1000));
    s_sound *looping = Keep(Constant16(2000, 300));
    Soundsystem_PlaySound(shortone, 0);
    Soundsystem_PlaySound(looping, 1);
    Mix();
    // (1000 + 2000) * 253 >> 8, then 2000 * 253 >> 8.
    EXPECT_EQ(2964, Left(0));
    EXPECT_EQ(2964, Right(999));
    EXPECT_EQ(1976, Left(1000));
    EXPECT_EQ(1976, Right(kFrames - 1));
    EXPECT_EQ(0, shortone->playing);
    EXPECT_EQ(0u, shortone->position);
    EXPECT_EQ(1, soundsystem.numactive);
    EXPECT_EQ(looping, active_sounds[0]);
}

TEST_F(Mixer, SoundsAfterOneThatEndsAreStillMixedInThatPass)
{
    s_sound *first = Keep(Constant16(30, 10));
    s_sound *second = Keep(Constant16(100, 5000));
    s_sound *third = Keep(Constant16(10000, 5000));
    Soundsystem_PlaySound(first, 0);
    Soundsystem_PlaySound(second, 0);
    Soundsystem_PlaySound(third, 0);
    Mix();
    // (100 + 10000) * 253 >> 8 at every frame after the first sound ended.
    EXPECT_EQ(9981, Left(10));
    EXPECT_EQ(9981, Right(kFrames - 1));
    EXPECT_EQ((uint64_t)kFrames * 256, second->position);
    EXPECT_EQ((uint64_t)kFrames * 256, third->position);
}

TEST_F(Mixer, HalfRateMonoRepeatsEachSample)
{
    std::vector<int16_t> ramp(4000);
    for (size_t i = 0; i < ramp.size(); i++)
        ramp[i] = (int16_t)(i * 8);
    s_sound *s = Keep(Sound16(ramp, 1, 22050));
    ASSERT_EQ(128u, s->step);
    Soundsystem_PlaySound(s, 0);
    Mix();
    for (int f = 0; f + 2 < kFrames; f += 2) {
        ASSERT_EQ(Left(f), Left(f + 1)) << f;
        ASSERT_LT(Left(f + 1), Left(f + 2)) << f;
    }
    EXPECT_EQ((uint64_t)kFrames * 128, s->position);
}

TEST_F(Mixer, StereoSourceFeedsBothSidesFromItsFirstChannel)
{
    std::vector<int16_t> frames;
    for (int i = 0; i < 3000; i++) {
        frames.push_back(1000);
        frames.push_back(-1000);
    }
    s_sound *s = Keep(Sound16(frames, 2, 44100));
    ASSERT_EQ(512u, s->step);
    Soundsystem_SetPanning(s, 0); // gains 254 and 0 -> 252 and 0 after the mix volumes
    Soundsystem_PlaySound(s, 0);
    Mix();
    EXPECT_EQ(984, Left(0));
    EXPECT_EQ(0, Right(0));
    Soundsystem_SetPanning(s, 255);
    Soundsystem_PlaySound(s, 0);
    Mix();
    EXPECT_EQ(0, Left(kFrames - 1));
    EXPECT_EQ(984, Right(kFrames - 1)); // the first channel, not the second
}

TEST_F(Mixer, MusicAndEffectVolumesApplySeparately)
{
    s_sound *music = Keep(Constant16(1000, 5000));
    s_sound *effect = Keep(Constant16(3000, 5000));
    Soundsystem_PlayMusic(music, 1);
    Soundsystem_PlaySound(effect, 0);
    Soundsystem_SetEffectVolume(0);
    Mix();
    EXPECT_EQ(988, Left(0));
    Soundsystem_SetEffectVolume(255);
    Soundsystem_SetMusicVolume(0);
    Mix();
    EXPECT_EQ(2964, Left(0));
    Soundsystem_SetMusicVolume(255);
    Soundsystem_SetMasterVolume(128); // 255 * 128 * 255 >> 16 = 127
    Mix();
    EXPECT_EQ((1000 + 3000) * 127 >> 8, Left(0));
}

TEST_F(Mixer, StreamRefillsWhenItsWholeBufferHasPlayed)
{
    static int refills;
    refills = 0;
    auto refill = [](void *data, uint32_t size) {
        refills++;
        int16_t *samples = (int16_t *)data;
        for (uint32_t i = 0; i < size / 2; i++)
            samples[i] = (int16_t)(refills * 100);
    };
    s_sound *stream = Keep(s_sound());
    Soundsystem_CreateSoundStream(stream, refill, 44100, 16, 2, 512);
    EXPECT_EQ(512u * 2 * 2, stream->size);
    Soundsystem_SetPanning(stream, 0);
    Soundsystem_PlaySound(stream, 0);
    Mix();
    // 512 stereo frames per refill: four refills in a block, each heard.
    EXPECT_EQ(4, refills);
    EXPECT_EQ(0, Left(0));
    EXPECT_EQ(100 * 252 >> 8, Left(512));
    EXPECT_EQ(300 * 252 >> 8, Left(kFrames - 1));
    EXPECT_EQ(1, stream->playing);
}

TEST_F(Mixer, LongSoundsDoNotWrapTheirEnd)
{
    // More than 2^24 samples: the end must not wrap around 32 bits.
    const uint32_t length = (1u << 24) + 4;
    s_sound *s = Keep(s_sound());
    memset(s, 0, sizeof *s);
    s->channels = 1;
    s->bits = 8;
    s->size = s->length = length;
    s->data = (uint8_t *)malloc(length);
    memset(s->data, 255, length);
    Soundsystem_SetFrequency(s, 44100);
    Soundsystem_SetVolume(s, 255);
    Soundsystem_PlaySound(s, 0);
    Soundsystem_SetSoundOffset(s, (uint64_t)(1u << 24) << 8);
    Mix();
    EXPECT_NE(0, Left(3));
    EXPECT_EQ(0, Left(4));
    EXPECT_EQ(0, s->playing);
}

TEST_F(Mixer, BrokenRecordsAreStoppedWithoutReading)
{
    s_sound *empty = Keep(s_sound());
    s_sound *lying = Keep(Constant16(1000, 10));
    lying->length = 1000000; // claims more samples than its data holds
    s_sound *pastend = Keep(Constant16(1000, 10));
    Soundsystem_PlaySound(empty, 1);
    Soundsystem_PlaySound(lying, 1);
    Soundsystem_PlaySound(pastend, 1);
    Soundsystem_SetSoundOffset(pastend, 1000000 * 256ull); // far past its end, looping
    Mix();
    EXPECT_EQ(0, empty->playing);
    EXPECT_EQ(0, lying->playing);
    EXPECT_EQ(1, pastend->playing);
    EXPECT_LT(pastend->position, 10u * 256);
    EXPECT_EQ(1, soundsystem.numactive);

    // A block longer than the mix buffer mixes what fits and zero-fills the rest.
    std::vector<int16_t> longer(4 * kFrames, 0x5555);
    audiodriver_mixbuffers(longer.data(), (int)(longer.size() * 2), 0);
    EXPECT_EQ(0, longer[longer.size() - 1]);
}

} // namespace
