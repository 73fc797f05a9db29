// The mixer driven block by block with no device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

namespace {

const int kFrames = AUDIODRIVER_FRAMES;

struct Mixer : ::testing::Test {
    std::vector<int16_t> out = std::vector<int16_t>(2 * kFrames);
    std::vector<std::unique_ptr<s_sound>> owned;

    void SetUp() override
    {
        audiodriver_setoffline(1);
        Soundsystem_Init(44100, 16, 2);
    }
    void TearDown() override
    {
        for (auto &s : owned)
            Soundsystem_DeleteSound(s.get());
        Soundsystem_CloseAudio();
        audiodriver_setoffline(0);
    }
    // A loaded-looking 16-bit sound; full left and right gains (253 after
    // the mix volumes) unless panned.
    s_sound *Sound(const std::vector<int16_t> &samples, int channels = 1, int frequency = 44100)
    {
        owned.emplace_back(new s_sound());
        s_sound *s = owned.back().get();
        s->channels = (uint16_t)channels;
        s->bits = 16;
        s->size = (uint32_t)samples.size() * 2;
        s->length = (uint32_t)samples.size();
        s->data = (uint8_t *)malloc(s->size);
        memcpy(s->data, samples.data(), s->size);
        Soundsystem_SetFrequency(s, frequency);
        Soundsystem_SetVolume(s, 255);
        s->leftvolume = s->rightvolume = 255;
        return s;
    }
    s_sound *Constant(int16_t value, uint32_t length) { return Sound(std::vector<int16_t>(length, value)); }
    void Mix() { audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0); }
    int Left(int frame) const { return out[2 * frame]; }
    int Right(int frame) const { return out[2 * frame + 1]; }
};

TEST_F(Mixer, FullVolumesAndSaturation)
{
    s_sound *s = Constant(1000, 5000);
    Soundsystem_PlaySound(s, 0);
    Mix();
    for (int f = 0; f < kFrames; f++) {
        ASSERT_EQ(988, Left(f)) << f; // 1000 * 253 >> 8
        ASSERT_EQ(988, Right(f)) << f;
    }
    const int32_t *sums = Soundsystem_GetOutputBuffer(); // unscaled
    EXPECT_EQ(253000, sums[0]);
    EXPECT_EQ(253000, sums[2 * kFrames - 1]);

    Soundsystem_PlaySound(Constant(32767, 5000), 0);
    Mix();
    EXPECT_EQ(32767, Left(0));
    Soundsystem_StopSound(s);
    Soundsystem_StopSound(active_sounds[0]);
    Soundsystem_PlaySound(Constant(-30000, 5000), 0);
    Soundsystem_PlaySound(Constant(-32768, 5000), 0);
    Mix();
    EXPECT_EQ(-32767, Left(0)); // never -32768
    EXPECT_EQ(-32767, Right(kFrames - 1));
}

TEST_F(Mixer, MusicAndEffectVolumesApplySeparately)
{
    Soundsystem_PlayMusic(Constant(1000, 5000), 1);
    Soundsystem_PlaySound(Constant(3000, 5000), 0);
    Soundsystem_SetEffectVolume(0);
    Mix();
    EXPECT_EQ(988, Left(0));
    Soundsystem_SetEffectVolume(255);
    Soundsystem_SetMusicVolume(0);
    Mix();
    EXPECT_EQ(2964, Left(0));
}

TEST_F(Mixer, LoopKeepsTheFractionAcrossTheLoopPoint)
{
    // Three samples and a step of 100: the loop point 768 is no multiple of it.
    s_sound *s = Sound({1000, 2000, 3000}, 1, 17227);
    ASSERT_EQ(100u, s->step);
    Soundsystem_PlaySound(s, 1);
    Mix();
    EXPECT_EQ(1, s->playing);
    EXPECT_EQ(512u, Soundsystem_GetSoundOffset(*s)); // 2048 * 100 = 266 * 768 + 512
}

TEST_F(Mixer, EndingSoundLeavesTheBlockToTheOthers)
{
    s_sound *first = Constant(1000, 1000);
    s_sound *second = Constant(2000, 5000);
    s_sound *third = Constant(100, 300);
    Soundsystem_PlaySound(first, 0);
    Soundsystem_PlaySound(second, 0);
    Soundsystem_PlaySound(third, 1);
    Mix();
    EXPECT_EQ(3063, Left(0));    // (1000 + 2000 + 100) * 253 >> 8
    EXPECT_EQ(3063, Right(999));
    EXPECT_EQ(2075, Left(1000)); // (2000 + 100) * 253 >> 8: both others still mixed
    EXPECT_EQ(2075, Right(kFrames - 1));
    EXPECT_EQ(0, first->playing);
    EXPECT_EQ(0u, first->position);
    ASSERT_EQ(2, soundsystem.numactive);
    EXPECT_EQ(second, active_sounds[0]);
    EXPECT_EQ(third, active_sounds[1]);
    EXPECT_EQ((uint64_t)kFrames * 256, second->position);
}

TEST_F(Mixer, HalfRateMonoRepeatsEachSample)
{
    std::vector<int16_t> ramp(4000);
    for (size_t i = 0; i < ramp.size(); i++)
        ramp[i] = (int16_t)(i * 8);
    s_sound *s = Sound(ramp, 1, 22050);
    ASSERT_EQ(128u, s->step);
    Soundsystem_PlaySound(s, 0);
    Mix();
    for (int f = 0; f + 2 < kFrames; f += 2) {
        ASSERT_EQ(Left(f), Left(f + 1)) << f;
        ASSERT_LT(Left(f + 1), Left(f + 2)) << f;
    }
}

TEST_F(Mixer, StereoSourceFeedsBothSidesFromItsFirstChannel)
{
    std::vector<int16_t> frames;
    for (int i = 0; i < 3000; i++)
        frames.insert(frames.end(), {1000, -1000});
    s_sound *s = Sound(frames, 2);
    ASSERT_EQ(512u, s->step);
    Soundsystem_SetPanning(s, 0); // gains 254 and 0, 252 and 0 after the mix volumes
    Soundsystem_PlaySound(s, 0);
    Mix();
    EXPECT_EQ(984, Left(0));
    EXPECT_EQ(0, Right(0));
    Soundsystem_SetPanning(s, 255);
    Mix();
    EXPECT_EQ(0, Left(0));
    EXPECT_EQ(984, Right(0)); // the first channel, not the second
}

TEST_F(Mixer, StreamRefillsAfterItsWholeBuffer)
{
    static int refills;
    refills = 0;
    auto refill = [](void *data, uint32_t size) {
        refills++;
        for (uint32_t i = 0; i < size / 2; i++)
            ((int16_t *)data)[i] = (int16_t)(refills * 100);
    };
    owned.emplace_back(new s_sound());
    s_sound *stream = owned.back().get();
    Soundsystem_CreateSoundStream(stream, refill, 44100, 16, 2, 512);
    Soundsystem_SetPanning(stream, 0);
    Soundsystem_PlaySound(stream, 0);
    Mix();
    // 512 stereo frames between refills, so four in a block, each one heard.
    EXPECT_EQ(4, refills);
    EXPECT_EQ(0, Left(511));
    EXPECT_EQ(100 * 252 >> 8, Left(512));
    EXPECT_EQ(300 * 252 >> 8, Left(kFrames - 1));
}

TEST_F(Mixer, LongSoundEndsAtItsRealEnd)
{
    // Over 2^24 samples: the end position does not fit 32 bits.
    const uint32_t length = (1u << 24) + 4;
    s_sound *s = Constant(0, 1);
    free(s->data);
    s->bits = 8;
    s->size = s->length = length;
    s->data = (uint8_t *)malloc(length);
    memset(s->data, 255, length);
    Soundsystem_PlaySound(s, 0);
    Soundsystem_SetSoundOffset(s, (uint64_t)(1u << 24) << 8);
    Mix();
    EXPECT_NE(0, Left(3));
    EXPECT_EQ(0, Left(4));
    EXPECT_EQ(0, s->playing);
}

TEST_F(Mixer, BrokenRecordsAreStoppedWithoutReading)
{
    owned.emplace_back(new s_sound());
    s_sound *empty = owned.back().get();
    s_sound *lying = Constant(1000, 10);
    lying->length = 1000000; // more samples than its data holds
    s_sound *pastend = Constant(1000, 10);
    Soundsystem_PlaySound(empty, 1);
    Soundsystem_PlaySound(lying, 1);
    Soundsystem_PlaySound(pastend, 1);
    Soundsystem_SetSoundOffset(pastend, 1000000 * 256ull);
    Mix();
    EXPECT_EQ(0, empty->playing);
    EXPECT_EQ(0, lying->playing);
    EXPECT_EQ(1, pastend->playing); // looping: wrapped back into its data
    EXPECT_LT(pastend->position, 10u * 256);

    // A block longer than the mix buffer: what fits is mixed, the rest zeroed.
    std::vector<int16_t> longer(4 * kFrames, 0x5555);
    audiodriver_mixbuffers(longer.data(), (int)(longer.size() * 2), 0);
    EXPECT_EQ(988, longer[2 * kFrames - 1]);
    EXPECT_EQ(0, longer[2 * kFrames]);
}

} // namespace
