// Sound-system settings and the active table, with no device.
#include "sound_fixture.h"

namespace {

using SoundSystem = SoundTest;

TEST_F(SoundSystem, VolumesAreClampedAndPanningSplitsTheGains)
{
    Soundsystem_SetMusicVolume(300);
    EXPECT_EQ(255, soundsystem.musicvolume);

    const struct {
        int volume, panning, left, right;
    } rows[] = {{255, 128, 126, 127}, {255, 0, 254, 0}, {255, 300, 0, 254}, {-3, 255, 0, 0}};
    s_sound *s = Stream(44100, 2);
    for (const auto &r : rows) {
        Soundsystem_SetVolume(s, r.volume);
        Soundsystem_SetPanning(s, r.panning);
        EXPECT_EQ(r.left, s->leftvolume) << r.volume << " " << r.panning;
        EXPECT_EQ(r.right, s->rightvolume) << r.volume << " " << r.panning;
    }
}

TEST_F(SoundSystem, StepFollowsChannelsAndRate)
{
    EXPECT_EQ(512u, Stream(44100, 2)->step);
    s_sound *mono = Stream(22050, 1);
    EXPECT_EQ(128u, mono->step);
    Soundsystem_SetFrequency(mono, 11025);
    EXPECT_EQ(64u, mono->step);
    EXPECT_EQ(128, Stream(44100, 1, 16, 8)->data[15]); // 8-bit silence is the middle value

    // A mix rate of 0 runs without a device and steps 0, not a division by zero.
    Soundsystem_Init(0, 16, 2);
    EXPECT_EQ(0u, Stream(44100, 2)->step);
}

TEST_F(SoundSystem, TableHoldsEachSoundOnceInStartingOrder)
{
    s_sound *a = Stream(44100, 1), *b = Stream(44100, 1), *c = Stream(44100, 1);
    s_sound *d = Stream(44100, 1);
    for (s_sound *s : {a, a, b, c, d}) // a twice: still one entry
        Soundsystem_PlaySound(s, 0);
    Soundsystem_StopSound(b);
    EXPECT_EQ((std::vector<s_sound *>{a, c, d}),
              std::vector<s_sound *>(active_sounds, active_sounds + soundsystem.numactive));
    Soundsystem_DeleteSound(c); // leaves the table before its data goes
    EXPECT_EQ(2, soundsystem.numactive);
}

TEST_F(SoundSystem, SeventeenthSoundIsMarkedPlayingButNotMixed)
{
    for (int i = 0; i < 17; i++)
        Soundsystem_PlaySound(Stream(44100, 1, 100000), 0);
    EXPECT_EQ(16, soundsystem.numactive);
    EXPECT_EQ(1, sounds[16].playing);

    Mix();
    EXPECT_EQ(AUDIODRIVER_FRAMES * 256u, sounds[15].position);
    EXPECT_EQ(0u, sounds[16].position);
}

} // namespace
