// Sound-system settings and the active table, with no device.
#include "sound_fixture.h"

namespace {

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
