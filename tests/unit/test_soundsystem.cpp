// Sound-system settings and the active table, with no device.
#include <gtest/gtest.h>

#include <cstring>
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
s_sound Stream(int frequency, int channels, int frames = 64)
{
    s_sound s;
    memset(&s, 0, sizeof s);
    Soundsystem_CreateSoundStream(&s, nullptr, frequency, 16, channels, frames);
    return s;
}

TEST_F(SoundSystem, StartsAtFullVolumesAndClampsThem)
{
    EXPECT_EQ(44100u, soundsystem.mixrate);
    EXPECT_EQ(2048u, soundsystem.bufferlength);
    EXPECT_EQ(2u * 2048 * 4, soundsystem.outputbuffersize);
    EXPECT_EQ(255, soundsystem.mastervolume);
    EXPECT_EQ(255, soundsystem.musicvolume);
    EXPECT_EQ(255, soundsystem.effectvolume);

    Soundsystem_SetMusicVolume(300);
    EXPECT_EQ(255, soundsystem.musicvolume);
    Soundsystem_SetMusicVolume(-5);
    EXPECT_EQ(0, soundsystem.musicvolume);
    Soundsystem_SetEffectVolume(1000);
    EXPECT_EQ(255, soundsystem.effectvolume);
    Soundsystem_SetMasterVolume(-1);
    EXPECT_EQ(0, soundsystem.mastervolume);
    Soundsystem_SetMasterVolume(77);
    EXPECT_EQ(77, soundsystem.mastervolume);
}

TEST_F(SoundSystem, PanningSplitsTheVolume)
{
    s_sound s = Stream(44100, 2);
    Soundsystem_SetVolume(&s, 255);
    EXPECT_EQ(126, s.leftvolume);
    EXPECT_EQ(127, s.rightvolume);
    Soundsystem_SetPanning(&s, 0);
    EXPECT_EQ(254, s.leftvolume);
    EXPECT_EQ(0, s.rightvolume);
    Soundsystem_SetPanning(&s, 300);
    EXPECT_EQ(255, s.panning);
    EXPECT_EQ(0, s.leftvolume);
    EXPECT_EQ(254, s.rightvolume);
    Soundsystem_SetVolume(&s, 400);
    EXPECT_EQ(255, s.volume);
    Soundsystem_SetVolume(&s, -3);
    EXPECT_EQ(0, s.volume);
    EXPECT_EQ(0, s.rightvolume);
    Soundsystem_DeleteSound(&s);
}

TEST_F(SoundSystem, StepFollowsChannelsAndRate)
{
    s_sound stereo = Stream(44100, 2);
    s_sound mono = Stream(22050, 1);
    EXPECT_EQ(512u, stereo.step);
    EXPECT_EQ(128u, mono.step);
    Soundsystem_SetFrequency(&mono, 11025);
    EXPECT_EQ(64u, mono.step);
    EXPECT_EQ(22050u, mono.frequency); // the recorded rate stays
    Soundsystem_DeleteSound(&stereo);
    Soundsystem_DeleteSound(&mono);

    // A rate of 0 gives no device and a step of 0, not a division by zero.
    Soundsystem_CloseAudio();
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
    EXPECT_EQ(1, a.loop);      // streams loop; a zero argument keeps it

    Soundsystem_PlaySound(&b, 0);
    Soundsystem_PlaySound(&c, 0);
    Soundsystem_StopSound(&b);
    ASSERT_EQ(2, soundsystem.numactive);
    EXPECT_EQ(&a, active_sounds[0]);
    EXPECT_EQ(&c, active_sounds[1]);
    EXPECT_EQ(0, b.playing);

    Soundsystem_StopSound(&b); // not in the table: nothing moves
    EXPECT_EQ(2, soundsystem.numactive);
    Soundsystem_DeleteSound(&c);
    EXPECT_EQ(1, soundsystem.numactive);
    EXPECT_EQ(nullptr, c.data);
    EXPECT_EQ(2, soundsystem.numsounds);
    Soundsystem_DeleteSound(&a);
    Soundsystem_DeleteSound(&b);
    EXPECT_EQ(0, soundsystem.numactive);
    Soundsystem_DeleteSound(&b);
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

    // A freed slot does not pick it up by itself; starting it again does.
    Soundsystem_StopSound(&sounds[0]);
    Soundsystem_PlaySound(&sounds[16], 0);
    EXPECT_EQ(&sounds[16], active_sounds[15]);
    for (s_sound &s : sounds)
        Soundsystem_DeleteSound(&s);
}

TEST_F(SoundSystem, OutputBufferIsACopyOfTheLastPass)
{
    s_sound s = Stream(44100, 1);
    Soundsystem_PlaySound(&s, 0);
    std::vector<int16_t> out(2 * 2048);
    audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0);
    int32_t *copy = Soundsystem_GetOutputBuffer();
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(soundsystem.outputbuffer, copy);
    EXPECT_EQ(0, memcmp(copy, soundsystem.outputbuffer, soundsystem.outputbuffersize));
    Soundsystem_DeleteSound(&s);

    Soundsystem_CloseAudio();
    EXPECT_EQ(nullptr, Soundsystem_GetOutputBuffer());
    audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0); // silence, no crash
    EXPECT_EQ(0, out[0]);
}

TEST_F(SoundSystem, StreamsAreRefusedForFormatsTheMixerCannotRead)
{
    s_sound s;
    memset(&s, 0, sizeof s);
    testing::internal::CaptureStdout();
    Soundsystem_CreateSoundStream(&s, nullptr, 44100, 12, 2, 100);
    Soundsystem_CreateSoundStream(&s, nullptr, 44100, 16, 0, 100);
    Soundsystem_CreateSoundStream(&s, nullptr, 0, 16, 2, 100);
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, said.find("sound stream refused: 44100 Hz, 12 bits"));
    EXPECT_EQ(nullptr, s.data);
    EXPECT_EQ(0u, s.length);
    EXPECT_EQ(255, s.volume);

    // 8-bit streams start as silence (128), not as the lowest value.
    Soundsystem_CreateSoundStream(&s, nullptr, 44100, 8, 1, 16);
    ASSERT_NE(nullptr, s.data);
    EXPECT_EQ(128, s.data[0]);
    EXPECT_EQ(128, s.data[15]);
    Soundsystem_DeleteSound(&s);
}

TEST_F(SoundSystem, UpcaseTouchesOnlyLetters)
{
    char name[] = "flop3.wav-z{}";
    EXPECT_EQ(name, upcase_sound(name));
    EXPECT_STREQ("FLOP3.WAV-Z{}", name);
}

} // namespace
