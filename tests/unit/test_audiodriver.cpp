// The real SDL audio path: SDL's disk driver writes every block the pull
// callback produces to a file, which the test reads back.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

namespace {

const size_t kBlock = 2 * AUDIODRIVER_FRAMES; // samples in one stereo block
const char *const kFile = "audiodriver.raw";  // in the build folder

// Each whole block written so far as the one value filling it, or -1 when it
// holds several; read once AT_LEAST blocks are there, or after ten seconds.
std::vector<int> Blocks(size_t at_least = 0)
{
    std::vector<int> blocks;
    std::vector<int16_t> w(kBlock);
    for (int i = 0; i < 1000 && (i == 0 || blocks.size() < at_least); i++) {
        SDL_Delay(i ? 10 : 0);
        std::ifstream f(kFile, std::ios::binary);
        for (blocks.clear(); f.read((char *)w.data(), kBlock * 2);)
            blocks.push_back(std::count(w.begin(), w.end(), w[0]) == (long)kBlock ? w[0] : -1);
    }
    return blocks;
}

TEST(AudioDevice, RefusedThenOpenedDevicePlaysMixedAndPushedBlocks)
{
    // No device: the program runs on, silent, and says why.
    const std::string sizes = "sample size: 4\nbuffer size: 8192\nopen waveout\n";
    const std::string bufferlength = "soundsystem bufferlength = 2048\n";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(1, Soundsystem_Init(44100, 16, 2));
    EXPECT_EQ(sizes + "AUDIO: no audio driver: " + SDL_GetError() + "\nopen wav-buffers\n"
                      "AUDIO: error opening audio buffer\n" + bufferlength,
              testing::internal::GetCapturedStdout());
    EXPECT_EQ(0, audiodriver_getbuffer(nullptr, nullptr));

    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", kFile, 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1); // no need to wait in real time
    Soundsystem_Init(44100, 16, 2);
    s_sound s{};
    Soundsystem_CreateSoundStream(&s, nullptr, 44100, 16, 1, 1000);
    std::fill_n((int16_t *)s.data, s.length, 1000);
    Soundsystem_PlaySound(&s, 1);

    // Blocks pulled before the sound started are silence; then 1000 at the
    // default gains, 496, throughout.
    size_t start = Blocks().size() + 1;
    std::vector<int> blocks = Blocks(start + 3);
    EXPECT_EQ(496, blocks.at(start + 1));
    EXPECT_EQ(496, blocks.at(start + 2));

    // A pushed block plays once, as it stands, between mixed ones.
    size_t before = Blocks().size();
    void *block = nullptr;
    int length = 0;
    ASSERT_EQ(1, audiodriver_getbuffer(&block, &length));
    ASSERT_EQ((int)kBlock * 2, length);
    std::fill_n((int16_t *)block, kBlock, -1234);
    audiodriver_submitbuffer();
    blocks = Blocks(before + 4);
    EXPECT_EQ(496, blocks.at(before + 3));
    EXPECT_EQ(1, std::count(&blocks[before], &blocks[before + 4], -1234));

    // Closing while the device runs; afterwards the ring is gone.
    Soundsystem_CloseAudio();
    EXPECT_EQ(0, audiodriver_getbuffer(nullptr, nullptr));
    Soundsystem_DeleteSound(&s);
    remove(kFile);
}

} // namespace
