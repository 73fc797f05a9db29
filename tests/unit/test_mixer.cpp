// The sound system with no device: its settings and table of active
// sounds, and the mixer driven block by block.
#include <algorithm>
#include <cstring>

#include "sound_fixture.h"

namespace {

struct Mixer : SoundTest {
    // A one-shot sound at full left and right gains: 253 after the mix volumes.
    s_sound *Sound(const std::vector<int16_t> &samples, int channels = 1, int frequency = 44100)
    {
        s_sound *s = Stream(frequency, channels, (int)samples.size() / channels);
        memcpy(s->data, samples.data(), s->size);
        s->loop = 0;
        s->leftvolume = s->rightvolume = 255;
        return s;
    }
    s_sound *Constant(int16_t value, int length) { return Sound(std::vector<int16_t>(length, value)); }
};

TEST_F(Mixer, FullVolumesSumShiftAndSaturate)
{
    Soundsystem_PlaySound(Constant(1000, 5000), 0);
    Mix();
    EXPECT_EQ(988, Right(AUDIODRIVER_FRAMES - 1)); // 1000 * 253 >> 8
    Soundsystem_PlaySound(Constant(32767, 5000), 0);
    Mix();
    EXPECT_EQ(32767, Right(0));
    for (int i = 0; i < 3; i++)
        Soundsystem_PlaySound(Constant(-32768, 5000), 0);
    Mix();
    EXPECT_EQ(-32767, Left(0)); // never -32768
    // The lamps read the sums before the shift and the clamp.
    EXPECT_EQ(-64537 * 253, Soundsystem_GetOutputBuffer()[0]);
}

TEST_F(Mixer, LoopKeepsTheFractionAcrossTheLoopPoint)
{
    // A step of 100 against a loop of 768: 2048 * 100 = 266 * 768 + 512.
    s_sound *s = Sound({1000, 2000, 3000}, 1, 17227);
    Soundsystem_PlaySound(s, 1);
    Mix();
    EXPECT_EQ(512u, Soundsystem_GetSoundOffset(*s)); // still playing, fraction kept
}

TEST_F(Mixer, EndingSoundLeavesTheBlockToTheOthers)
{
    s_sound *first = Constant(1000, 1000);
    Soundsystem_PlaySound(first, 0);
    Soundsystem_PlaySound(Constant(2000, 5000), 0);
    Soundsystem_PlaySound(Constant(100, 300), 1);
    Mix();
    EXPECT_EQ(3063, Left(999));  // (1000 + 2000 + 100) * 253 >> 8
    EXPECT_EQ(2075, Left(1000)); // both others still mixed in this pass
    EXPECT_EQ(0, first->playing);
}

TEST_F(Mixer, HalfRateMonoRepeatsEachSample)
{
    std::vector<int16_t> ramp(4000);
    for (size_t i = 0; i < ramp.size(); i++)
        ramp[i] = (int16_t)(i * 8);
    Soundsystem_PlaySound(Sound(ramp, 1, 22050), 0);
    Mix();
    for (int f = 0; f < AUDIODRIVER_FRAMES; f++)
        ASSERT_EQ(f / 2 * 8 * 253 >> 8, Left(f)) << f;
}

TEST_F(Mixer, StereoSourceFeedsBothSidesFromItsFirstChannel)
{
    std::vector<int16_t> frames(6000, 1000);
    for (size_t i = 1; i < frames.size(); i += 2)
        frames[i] = -1000;
    s_sound *s = Sound(frames, 2);
    Soundsystem_PlaySound(s, 0);
    for (int pan : {0, 255}) {
        Soundsystem_SetPanning(s, pan); // gains 254 and 0: 252 after the mix volumes
        Mix();
        EXPECT_EQ(pan ? 0 : 984, Left(0));
        EXPECT_EQ(pan ? 984 : 0, Right(0));
    }
}

TEST_F(Mixer, StreamRefillsAfterItsWholeBuffer)
{
    static int refills = 0;
    s_sound *s = Stream(44100, 2, 512);
    s->callback = [](void *data, uint32_t size) {
        std::fill_n((int16_t *)data, size / 2, (int16_t)(++refills * 1000));
    };
    Soundsystem_PlaySound(s, 0);
    Mix();
    // The whole 512 frames play between refills: four in a block, each heard.
    EXPECT_EQ(4, refills);
    EXPECT_EQ(496, Left(512)); // 1000 * 127 >> 8 at the default gains
    EXPECT_EQ(1488, Right(AUDIODRIVER_FRAMES - 1));
}

TEST_F(Mixer, RecordsThatLieAboutTheirDataAreNeverReadPast)
{
    s_sound *lying = Constant(1000, 10);
    lying->length = 1000000; // more samples than its data holds
    s_sound *pastend = Constant(1000, 10);
    pastend->loop = 1;
    Soundsystem_PlaySound(lying, 0);
    Soundsystem_PlaySound(pastend, 1);
    Soundsystem_SetSoundOffset(pastend, 1000000 * 256ull);
    Mix();
    EXPECT_EQ(0, lying->playing);
    EXPECT_EQ(1, pastend->playing); // looping: wrapped back into its data
    EXPECT_LT(pastend->position, 10u * 256);
}

TEST_F(Mixer, SoundOverTwoToThe24SamplesEndsAtItsRealEnd)
{
    // The end position in 24.8 fixed point no longer fits 32 bits.
    s_sound *s = Stream(44100, 1, (1 << 24) + 4, 8);
    memset(s->data, 255, s->size);
    s->loop = 0;
    s->leftvolume = s->rightvolume = 255;
    Soundsystem_PlaySound(s, 0);
    Soundsystem_SetSoundOffset(s, (uint64_t)(1u << 24) << 8);
    Mix();
    EXPECT_NE(0, Left(3));
    EXPECT_EQ(0, Left(4));
    EXPECT_EQ(0, s->playing);
}

using SoundSystem = SoundTest;

// Volumes clamp to 0-255, panning splits them, and the step follows the
// channels and the rate (a mix rate of 0, no device, steps 0 rather than
// dividing by zero).
TEST_F(SoundSystem, SettersClampSplitAndStep)
{
    Soundsystem_SetMusicVolume(300);
    EXPECT_EQ(255, soundsystem.musicvolume);
    const struct { int volume, panning, left, right; } rows[] = {
        {255, 128, 126, 127}, {255, 0, 254, 0}, {255, 300, 0, 254}, {-3, 255, 0, 0}};
    s_sound *s = Stream(44100, 2);
    for (const auto &r : rows) {
        Soundsystem_SetVolume(s, r.volume);
        Soundsystem_SetPanning(s, r.panning);
        EXPECT_EQ((std::vector<int>{r.left, r.right}), (std::vector<int>{s->leftvolume, s->rightvolume}))
            << r.volume << " " << r.panning;
    }
    EXPECT_EQ(512u, s->step);
    Soundsystem_SetFrequency(s = Stream(22050, 1), 11025);
    EXPECT_EQ(64u, s->step);
    EXPECT_EQ(128, Stream(44100, 1, 16, 8)->data[15]); // 8-bit silence is the middle value
    Soundsystem_Init(0, 16, 2);
    EXPECT_EQ(0u, Stream(44100, 2)->step);
}

// Each sound once, in starting order; a seventeenth is marked playing but not mixed.
TEST_F(SoundSystem, TableHoldsSixteenSoundsOnceInStartingOrder)
{
    s_sound *a = Stream(44100, 1), *b = Stream(44100, 1), *c = Stream(44100, 1), *d = Stream(44100, 1);
    for (s_sound *s : {a, a, b, c, d}) // a twice: still one entry
        Soundsystem_PlaySound(s, 0);
    Soundsystem_StopSound(b);
    EXPECT_EQ((std::vector<s_sound *>{a, c, d}),
              std::vector<s_sound *>(active_sounds, active_sounds + soundsystem.numactive));
    Soundsystem_DeleteSound(c); // leaves the table before its data goes
    EXPECT_EQ(2, soundsystem.numactive);

    for (int i = 0; i < 15; i++)
        Soundsystem_PlaySound(Stream(44100, 1, 100000), 0);
    EXPECT_EQ(16, soundsystem.numactive);
    EXPECT_EQ(1, sounds.back().playing);
    Mix();
    EXPECT_EQ(AUDIODRIVER_FRAMES * 256u, sounds[sounds.size() - 2].position);
    EXPECT_EQ(0u, sounds.back().position);
}

} // namespace
