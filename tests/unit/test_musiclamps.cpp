// The drive lamps: which lamp hears which pitch, and how the real music,
// played through the real mixer from the real archive, drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/monitor/musiclamps.h"
#include "engine/corefile/corefile.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

// Lamp 5 listens to bands 10 and 11 at (3i)^2 + 10 Hz; the stereo pairs
// halve the sequence's frequency, so it hears twice band 10's 910 Hz in
// the mix. A loud tone lights it (and at most its neighbours), a soft one nothing.
TEST(MusicLamps, ALampHearsOnlyItsOwnPitch)
{
    std::vector<int32_t> block(2048);
    unsigned char lamps[8];
    for (double amplitude : {2000.0, 60.0}) {
        // A mono source as the mixer leaves it: each sample twice, scaled by the centre gain.
        for (int i = 0; i < 2048; i++)
            block[i] = (int32_t)lrint(amplitude * sin(2 * M_PI * 1820 * (i / 2) / 44100.0)) * 126;
        ComputeMusicLamps(block.data(), 2048, 44100, lamps);
        const bool loud = amplitude > 100;
        EXPECT_EQ(loud, lamps[5] == 1) << amplitude;
        for (int j = 0; j < 8; j++)
            EXPECT_TRUE(lamps[j] == 0 || (loud && std::abs(j - 5) < 2)) << "lamp " << j << " at amplitude " << amplitude;
    }
    // No block (sound system not started) or no rate: nothing heard.
    EXPECT_EQ(0.0f, DetectFrequencyInBuffer(nullptr, 2048, 440.0f, 44100));
    EXPECT_EQ(0.0f, DetectFrequencyInBuffer(block.data(), 2048, 3548.0f, 0));
}

// Plays the looping music through the mixer with no device, one block per
// pass, and reads the lamps as the copier screen does.
TEST(MusicLamps, MusicLoopsCleanlyAndDrivesEveryLamp)
{
    ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE));
    audiodriver_setoffline(1);
    ASSERT_EQ(1, Soundsystem_Init(44100, 16, 2));
    static s_sound music;
    Soundsystem_LoadSound("flop3.wav", &music);
    ASSERT_TRUE(music.bits == 16 && music.frequency == 44100 && music.channels == 1);
    ASSERT_EQ(1354752u, music.length) << "16 bars at 125 BPM";

    // No click at the seam: its step is no larger than the ordinary steps.
    const int16_t *s = (const int16_t *)music.data;
    std::vector<int> steps;
    for (uint32_t i = 1; i < music.length; i++)
        steps.push_back(std::abs(s[i] - s[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    EXPECT_LE(std::abs(s[0] - s[music.length - 1]), steps[steps.size() * 99 / 100]);

    Soundsystem_PlayMusic(&music, 1);
    const int blocks = (int)(music.length / 2048) + 1;
    std::vector<int16_t> out(2048 * 2);
    int lit[8] = {0}, changes[8] = {0};
    unsigned char lamps[8], before[8] = {0};  // all dark before the music
    for (int b = 0; b < blocks; b++) {
        audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0);
        DetectMusicLamps(lamps);
        for (int k = 0; k < 8; k++) {
            lit[k] += lamps[k];
            changes[k] += lamps[k] != before[k];
            before[k] = lamps[k];
        }
    }
    for (int k = 0; k < 8; k++) {
        const double share = 100.0 * lit[k] / blocks;
        EXPECT_TRUE(share >= 15.0 && share <= 85.0 && changes[k] >= 32)
            << "lamp " << k << " lit in " << share << "%, " << changes[k] << " changes (at least once a bar)";
    }
    Soundsystem_CloseAudio();
    corefile_closeimage();
}
