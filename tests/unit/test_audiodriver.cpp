// The real SDL audio path: SDL's disk driver writes every block the pull
// callback produces to a file, which the test reads back.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"

namespace {

const size_t kBlockBytes = 2048 * 2 * 2;

std::vector<int16_t> ReadSamples(const std::string &path)
{
    std::vector<int16_t> samples;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return samples;
    int16_t chunk[4096];
    size_t n;
    while ((n = fread(chunk, 2, 4096, f)) > 0)
        samples.insert(samples.end(), chunk, chunk + n);
    fclose(f);
    return samples;
}

// Waits (at most ten seconds) until the device has written BYTES bytes.
bool WaitForBytes(const std::string &path, size_t bytes)
{
    for (int i = 0; i < 1000; i++) {
        if (ReadSamples(path).size() * 2 >= bytes)
            return true;
        SDL_Delay(10);
    }
    return false;
}

bool BlockIsAll(const std::vector<int16_t> &samples, size_t block, int16_t value)
{
    size_t per = kBlockBytes / 2;
    if ((block + 1) * per > samples.size())
        return false;
    for (size_t i = block * per; i < (block + 1) * per; i++)
        if (samples[i] != value)
            return false;
    return true;
}

struct AudioDevice : ::testing::Test {
    std::string file;
    void SetUp() override
    {
        char pattern[] = "/tmp/floxa_audio_XXXXXX";
        int fd = mkstemp(pattern);
        ASSERT_GE(fd, 0);
        close(fd);
        file = pattern;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "5", 1); // no need to wait in real time
    }
    void TearDown() override { remove(file.c_str()); }
};

TEST_F(AudioDevice, CallbackPlaysMixedAndPushedBlocks)
{
    testing::internal::CaptureStdout();
    Soundsystem_Init(44100, 16, 2);
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, said.find("sample size: 4\nbuffer size: 8192\n"));
    EXPECT_NE(std::string::npos, said.find("audiodriver inited\n"));
    EXPECT_NE(std::string::npos, said.find("soundsystem bufferlength = 2048\n"));

    s_sound s{};
    Soundsystem_CreateSoundStream(&s, nullptr, 44100, 16, 1, 1000);
    for (uint32_t i = 0; i < s.length; i++)
        ((int16_t *)s.data)[i] = 1000;
    s.leftvolume = s.rightvolume = 255;
    Soundsystem_PlaySound(&s, 1);

    // Blocks pulled before the sound started are silence; then 988 throughout.
    size_t start = ReadSamples(file).size() * 2 / kBlockBytes + 1;
    ASSERT_TRUE(WaitForBytes(file, (start + 3) * kBlockBytes));
    std::vector<int16_t> written = ReadSamples(file);
    EXPECT_TRUE(BlockIsAll(written, start + 1, 988));
    EXPECT_TRUE(BlockIsAll(written, start + 2, 988));
    int32_t *sums = Soundsystem_GetOutputBuffer();
    EXPECT_EQ(253000, sums[0]);

    // A pushed block is played as it stands, ahead of the mixer: within the
    // next two blocks (one may already be mixed and on its way to the file).
    size_t before = ReadSamples(file).size() * 2 / kBlockBytes;
    void *block = nullptr;
    int length = 0;
    ASSERT_EQ(1, audiodriver_getbuffer(&block, &length));
    ASSERT_EQ((int)kBlockBytes, length);
    for (size_t i = 0; i < kBlockBytes / 2; i++)
        ((int16_t *)block)[i] = -1234;
    audiodriver_submitbuffer();
    ASSERT_TRUE(WaitForBytes(file, (before + 4) * kBlockBytes));
    written = ReadSamples(file);
    int pushed = 0;
    for (size_t b = before; b < before + 4; b++)
        pushed += BlockIsAll(written, b, -1234);
    EXPECT_EQ(1, pushed);
    EXPECT_TRUE(BlockIsAll(written, before + 3, 988));

    // Closing while the device runs; afterwards the ring is gone.
    Soundsystem_CloseAudio();
    EXPECT_EQ(0, audiodriver_getbuffer(nullptr, nullptr));
    Soundsystem_DeleteSound(&s);
}

TEST_F(AudioDevice, RefusedDeviceLeavesTheProgramSilent)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(1, Soundsystem_Init(44100, 16, 2));
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, said.find("AUDIO: no audio driver"));
    EXPECT_NE(std::string::npos, said.find("AUDIO: error opening audio buffer\n"));
    EXPECT_EQ(0, audiodriver_getbuffer(nullptr, nullptr));

    // Sounds still start, stop and mix offline.
    s_sound s{};
    Soundsystem_CreateSoundStream(&s, nullptr, 44100, 16, 2, 100);
    Soundsystem_PlaySound(&s, 0);
    std::vector<int16_t> out(2 * 2048, 1);
    audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(1, s.playing);
    Soundsystem_DeleteSound(&s);
    Soundsystem_CloseAudio();
}

} // namespace
