// The capture's file writers: a WAV that stays readable however the writing
// ends, every byte through the encoder pipe, and the progress texts. A
// missing or failing encoder and a full disk are met end to end in
// tests/e2e/capture_faults.sh.
#include <gtest/gtest.h>

#include "engine/capture/progress.h"
#include "engine/capture/videopipe.h"
#include "engine/capture/wavstream.h"

#include <errno.h>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<uint8_t> slurp(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

uint32_t le32(const std::vector<uint8_t> &b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}

struct TempDir {
    std::string path;
    TempDir()
    {
        char name[] = "/tmp/capturefilesXXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() { system(("rm -rf '" + path + "'").c_str()); }
};

TEST(WavStream, HeaderMatchesTheSamplesAtEveryStageUpToTheSizeLimit)
{
    TempDir dir;
    const std::string path = dir.path + "/a.wav";
    s_wavstream wav;
    ASSERT_TRUE(wavstream_open(&wav, path.c_str(), 44100, 2));
    // Readable before anything was written: an empty data chunk.
    std::vector<uint8_t> b = slurp(path);
    ASSERT_EQ(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(b, 40), 0u);

    const int16_t samples[6] = {1, -1, 300, -300, 32767, -32768};
    ASSERT_TRUE(wavstream_write(&wav, samples, 3));
    ASSERT_TRUE(wavstream_write(&wav, samples, 1));
    ASSERT_TRUE(wavstream_close(&wav));
    b = slurp(path);
    ASSERT_EQ(b.size(), 44u + 16u);
    // {RIFF length, channels, rate, bytes a second, data bytes, the last frame again}
    EXPECT_EQ((std::vector<int64_t>{le32(b, 4), b[22] | b[23] << 8, le32(b, 24), le32(b, 28), le32(b, 40),
                                    (int16_t)(b[56] | b[57] << 8)}),
              (std::vector<int64_t>{36 + 16, 2, 44100, 44100 * 4, 16, 1}));
    EXPECT_EQ(wavstream_close(&wav), 1) << "closing twice is harmless";

    // Past the 32-bit data length the file could not describe itself.
    ASSERT_TRUE(wavstream_open(&wav, path.c_str(), 44100, 2));
    wav.bytes = WAVSTREAM_MAXBYTES - 3;
    errno = 0;
    EXPECT_FALSE(wavstream_write(&wav, samples, 1));
    EXPECT_EQ(errno, EFBIG);
    wav.bytes = 0;
    EXPECT_TRUE(wavstream_close(&wav));
    EXPECT_EQ(slurp(path).size(), 44u);
}

// Runs videopipe with PATH set to a folder holding only `ffmpeg`, a shell
// script with the given body.
struct FakeEncoder {
    TempDir bin;
    std::string oldpath = getenv("PATH");
    explicit FakeEncoder(const char *body)
    {
        const std::string path = bin.path + "/ffmpeg";
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        chmod(path.c_str(), 0755);
        setenv("PATH", bin.path.c_str(), 1);
    }
    ~FakeEncoder() { setenv("PATH", oldpath.c_str(), 1); }
};

TEST(VideoPipe, EncoderGetsEveryByte)
{
    TempDir out;
    const std::string got = out.path + "/got";
    FakeEncoder counting(("/bin/cat > '" + got + "'").c_str());
    s_videopipe video;
    char error[256] = "";
    ASSERT_TRUE(videopipe_start(&video, "/tmp/x.mp4", 8, 8, 200, 3, error, sizeof error)) << error;
    std::vector<uint8_t> frame(300000, 9);  // larger than a pipe's buffer
    for (int i = 0; i < 3; i++) ASSERT_TRUE(videopipe_write(&video, frame.data(), frame.size()));
    EXPECT_EQ(videopipe_finish(&video), 0);
    EXPECT_EQ(slurp(got).size(), 900000u);
}

// {frames done, total, wall seconds; a negative time makes done a length in ms}
TEST(CaptureProgress, LineAndLength)
{
    const struct { long done, total; double seconds; const char *text; } rows[] = {
        {0, 1467, 0.0, "frame 0/1467"}, {300, 1467, 24.0, "frame 300/1467  12.5 fps  1:33 left"},
        {1467, 1467, 100.0, "frame 1467/1467  14.7 fps  0:00 left"}, {13200, 0, -1, "0:13.200"},
        {3723005, 0, -1, "62:03.005"}};
    char line[128];
    for (const auto &r : rows) {
        if (r.seconds < 0) capture_formatlength(line, sizeof line, r.done);
        else capture_progressline(line, sizeof line, r.done, r.total, r.seconds);
        EXPECT_STREQ(line, r.text);
    }
}

}  // namespace
