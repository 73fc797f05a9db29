// Sound-system settings and the active table, with no device.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

namespace {

struct SoundSystem : ::testing::Test {
    void SetUp() override
    {
        audiodriver_setoffline(1);
        Soundsystem_Init(44100, 16, 2);
    }
    void TearDown() override
    {
        Soundsystem_CloseAudio();
        audiodriver_setoffline(0);
    }
};

// A stream is the one way to make a sound without a file.
s_sound Stream(int frequency, int channels, int frames = 64, int bits = 16)
{
    s_sound s{};
    Soundsystem_CreateSoundStream(&s, nullptr, frequency, bits, channels, frames);
    return s;
}

TEST_F(SoundSystem, VolumesAndPanningAreClampedAndSplit)
{
    EXPECT_EQ(255, soundsystem.mastervolume);
    Soundsystem_SetMusicVolume(300);
    EXPECT_EQ(255, soundsystem.musicvolume);
    Soundsystem_SetMusicVolume(-5);
    EXPECT_EQ(0, soundsystem.musicvolume);
    Soundsystem_SetEffectVolume(1000);
    EXPECT_EQ(255, soundsystem.effectvolume);
    Soundsystem_SetMasterVolume(-1);
    EXPECT_EQ(0, soundsystem.mastervolume);

    s_sound s = Stream(44100, 2);
    Soundsystem_SetVolume(&s, 255);
    EXPECT_EQ(126, s.leftvolume);
    EXPECT_EQ(127, s.rightvolume);
    Soundsystem_SetPanning(&s, 0);
    EXPECT_EQ(254, s.leftvolume);
    EXPECT_EQ(0, s.rightvolume);
    Soundsystem_SetPanning(&s, 300);
    EXPECT_EQ(255, s.panning);
    EXPECT_EQ(254, s.rightvolume);
    Soundsystem_SetVolume(&s, -3);
    EXPECT_EQ(0, s.volume);
    EXPECT_EQ(0, s.rightvolume);
    Soundsystem_DeleteSound(&s);
}

TEST_F(SoundSystem, StepFollowsChannelsAndRate)
{
    s_sound stereo = Stream(44100, 2), mono = Stream(22050, 1);
    EXPECT_EQ(512u, stereo.step);
    EXPECT_EQ(128u, mono.step);
    Soundsystem_SetFrequency(&mono, 11025);
    EXPECT_EQ(64u, mono.step);
    EXPECT_EQ(22050u, mono.frequency);
    Soundsystem_DeleteSound(&stereo);
    Soundsystem_DeleteSound(&mono);

    // A mix rate of 0 runs without a device and steps 0, not a division by zero.
    Soundsystem_Init(0, 16, 2);
    s_sound still = Stream(44100, 2);
    EXPECT_EQ(0u, still.step);
    Soundsystem_DeleteSound(&still);
}

TEST_F(SoundSystem, TableHoldsEachSoundOnceInStartingOrder)
{
    s_sound a = Stream(44100, 1), b = Stream(44100, 1), c = Stream(44100, 1);
    EXPECT_EQ(3, soundsystem.numsounds);
    Soundsystem_PlaySound(&a, 0);
    Soundsystem_SetSoundOffset(&a, 5000);
    Soundsystem_PlaySound(&a, 0);
    EXPECT_EQ(1, soundsystem.numactive);
    EXPECT_EQ(0u, a.position); // restarted

    Soundsystem_PlaySound(&b, 0);
    Soundsystem_PlaySound(&c, 0);
    Soundsystem_StopSound(&b);
    ASSERT_EQ(2, soundsystem.numactive);
    EXPECT_EQ(&a, active_sounds[0]);
    EXPECT_EQ(&c, active_sounds[1]);
    EXPECT_EQ(0, b.playing);

    Soundsystem_DeleteSound(&c); // leaves the table before its data goes
    EXPECT_EQ(1, soundsystem.numactive);
    EXPECT_EQ(nullptr, c.data);
    for (s_sound *s : {&a, &b, &b, &b})
        Soundsystem_DeleteSound(s);
    EXPECT_EQ(0, soundsystem.numsounds); // never below 0
}

TEST_F(SoundSystem, SeventeenthSoundIsMarkedPlayingButNotMixed)
{
    std::vector<s_sound> sounds;
    for (int i = 0; i < 17; i++)
        sounds.push_back(Stream(44100, 1, 100000));
    for (s_sound &s : sounds)
        Soundsystem_PlaySound(&s, 0);
    EXPECT_EQ(16, soundsystem.numactive);
    EXPECT_EQ(1, sounds[16].playing);

    std::vector<int16_t> out(2 * 2048);
    audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0);
    EXPECT_EQ(2048u * 256, sounds[15].position);
    EXPECT_EQ(0u, sounds[16].position);
    for (s_sound &s : sounds)
        Soundsystem_DeleteSound(&s);
}

TEST_F(SoundSystem, StreamsRefuseFormatsTheMixerCannotRead)
{
    testing::internal::CaptureStdout();
    s_sound odd = Stream(44100, 2, 100, 12);
    s_sound none = Stream(44100, 0, 100);
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, said.find("sound stream refused: 44100 Hz, 12 bits"));
    for (s_sound *s : {&odd, &none}) {
        EXPECT_EQ(nullptr, s->data);
        EXPECT_EQ(0u, s->length);
    }
    // 8-bit streams start as silence (128), not as the lowest value.
    s_sound eight = Stream(44100, 1, 16, 8);
    ASSERT_NE(nullptr, eight.data);
    EXPECT_EQ(128, eight.data[15]);
    Soundsystem_DeleteSound(&eight);
}

} // namespace
