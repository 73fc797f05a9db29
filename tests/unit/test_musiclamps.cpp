// The drive lamps: which lamp hears which pitch, and how the real music,
// played through the real mixer from the real archive, drives them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "app/musiclamps.h"
#include "engine/corefile/corefile.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

namespace {

// One mix block as the mixer leaves it for a mono source at full volume:
// each sample appears twice (left, right), scaled by the centre gain.
std::vector<int32_t> StereoBlock(double hz, double amplitude)
{
    std::vector<int32_t> block(2048);
    for (int i = 0; i < 1024; i++) {
        const int32_t v = (int32_t)lrint(amplitude * sin(2 * M_PI * hz * i / 44100.0)) * 126;
        block[2 * i] = block[2 * i + 1] = v;
    }
    return block;
}

} // namespace

TEST(MusicLamps, BandsAndSilence)
{
    const float expected[16] = {10, 19, 46, 91, 154, 235, 334, 451, 586, 739, 910, 1099, 1306, 1531, 1774, 2035};
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(expected[i], MusicLampBandFrequency(i));

    std::vector<int32_t> silence(2048, 0);
    unsigned char lamps[8];
    ComputeMusicLamps(silence.data(), 2048, 44100, lamps);
    for (int k = 0; k < 8; k++)
        EXPECT_EQ(0, lamps[k]);
    EXPECT_EQ(0.0f, DetectFrequencyInBuffer(silence.data(), 2048, 440.0f, 44100));
    // No block (sound system not started) and no rate read nothing.
    EXPECT_EQ(0.0f, DetectFrequencyInBuffer(nullptr, 2048, 440.0f, 44100));
    EXPECT_EQ(0.0f, DetectFrequencyInBuffer(silence.data(), 2048, 440.0f, 0));
}

// The stereo pairs halve the sequence's frequency, so a lamp's bands hear
// twice their nominal pitch in the music.
TEST(MusicLamps, EachLampHearsItsOwnPitch)
{
    for (int k = 1; k < 8; k++) {
        const double hz = 2.0 * MusicLampBandFrequency(2 * k);
        unsigned char lamps[8];
        std::vector<int32_t> loud = StereoBlock(hz, 2000);
        ComputeMusicLamps(loud.data(), 2048, 44100, lamps);
        EXPECT_EQ(1, lamps[k]) << "lamp " << k << " at " << hz << " Hz";
        for (int j = 0; j < 8; j++) {
            if (std::abs(j - k) >= 2) {
                EXPECT_EQ(0, lamps[j]) << "lamp " << j << " lit by " << hz << " Hz";
            }
        }

        // Well below the threshold the same pitch leaves every lamp dark.
        std::vector<int32_t> faint = StereoBlock(hz, 60);
        ComputeMusicLamps(faint.data(), 2048, 44100, lamps);
        for (int j = 0; j < 8; j++)
            EXPECT_EQ(0, lamps[j]) << "lamp " << j << " lit by a faint " << hz << " Hz";
    }
}

// Plays the looping music through the mixer with no device, one block per
// pass, and reads the lamps as the copier screen does.
TEST(MusicLamps, MusicDrivesEveryLamp)
{
    ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE));
    audiodriver_setoffline(1);
    ASSERT_EQ(1, Soundsystem_Init(44100, 16, 2));
    static s_sound music;
    Soundsystem_LoadSound("flop3.wav", &music);
    ASSERT_EQ(1354752u, music.length) << "16 bars at 125 BPM";
    Soundsystem_PlayMusic(&music, 1);

    const int blocks = (int)(music.length / 2048) + 1;
    std::vector<int16_t> out(2048 * 2);
    int lit[8] = {0}, changes[8] = {0};
    unsigned char before[8] = {0};
    for (int b = 0; b < blocks; b++) {
        audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0);
        unsigned char lamps[8];
        DetectMusicLamps(lamps);
        for (int k = 0; k < 8; k++) {
            lit[k] += lamps[k];
            changes[k] += b > 0 && lamps[k] != before[k];
            before[k] = lamps[k];
        }
    }
    for (int k = 0; k < 8; k++) {
        const double share = 100.0 * lit[k] / blocks;
        printf("lamp %d: lit in %.1f%% of %d blocks, %d changes\n", k, share, blocks, changes[k]);
        EXPECT_GE(share, 15.0) << "lamp " << k;
        EXPECT_LE(share, 85.0) << "lamp " << k;
        // At least once a bar on average, on and off.
        EXPECT_GE(changes[k], 32) << "lamp " << k;
    }
    Soundsystem_CloseAudio();
    corefile_closeimage();
}
