// WAV files written to a temporary folder, mounted as a directory and loaded
// and saved through the virtual file system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/corefile/corefile.h"
#include "engine/sound/audiodriver.h"
#include "engine/sound/soundsystem.h"
#include "engine/sound/wav.h"

namespace {

struct Header {
    const char *riff = "RIFF", *wave = "WAVE", *fmt = "fmt ", *data = "data";
    uint16_t format = 1, channels = 2, bits = 16;
    uint32_t rate = 44100;
    int64_t datasize = -1; // -1: the payload's size
};

void Put16(std::vector<uint8_t> &b, size_t at, uint32_t v)
{
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
}

void Put32(std::vector<uint8_t> &b, size_t at, uint32_t v)
{
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

std::vector<uint8_t> WavFile(const Header &h, const std::vector<uint8_t> &payload)
{
    std::vector<uint8_t> b(44 + payload.size());
    memcpy(&b[0], h.riff, 4);
    Put32(b, 4, (uint32_t)payload.size() + 36);
    memcpy(&b[8], h.wave, 4);
    memcpy(&b[12], h.fmt, 4);
    Put32(b, 16, 16);
    Put16(b, 20, h.format);
    Put16(b, 22, h.channels);
    Put32(b, 24, h.rate);
    Put32(b, 28, h.rate * h.channels * h.bits / 8);
    Put16(b, 32, h.channels * h.bits / 8);
    Put16(b, 34, h.bits);
    memcpy(&b[36], h.data, 4);
    Put32(b, 40, h.datasize < 0 ? (uint32_t)payload.size() : (uint32_t)h.datasize);
    std::copy(payload.begin(), payload.end(), b.begin() + 44);
    return b;
}

std::vector<uint8_t> Ramp(size_t bytes)
{
    std::vector<uint8_t> v(bytes);
    for (size_t i = 0; i < bytes; i++)
        v[i] = (uint8_t)(i * 7 + i / 256);
    return v;
}

struct Wav : ::testing::Test {
    std::string dir;

    void SetUp() override
    {
        char pattern[] = "/tmp/floxa_wav_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
        audiodriver_setoffline(1);
        Soundsystem_Init(44100, 16, 2);
    }
    void TearDown() override
    {
        corefile_closeimage();
        Soundsystem_CloseAudio();
        audiodriver_setoffline(0);
        std::string rm = "rm -rf " + dir;
        ASSERT_EQ(0, system(rm.c_str()));
    }
    void Write(const std::string &name, const std::vector<uint8_t> &bytes)
    {
        FILE *f = fopen((dir + "/" + name).c_str(), "wb");
        ASSERT_NE(nullptr, f);
        if (!bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    void Mount() { ASSERT_EQ(1, corefile_mountimage(dir.c_str(), COREFILE_KIND_DIRECTORY)); }
    // Loads NAME into S and returns what was printed.
    std::string Load(const char *name, s_sound *s)
    {
        testing::internal::CaptureStdout();
        Soundsystem_LoadSound(name, s);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(Wav, LoadsAStereo16BitFile)
{
    std::vector<uint8_t> samples = Ramp(4000);
    Write("stereo.wav", WavFile(Header(), samples));
    Mount();
    s_sound s{};
    std::string said = Load("Stereo.WAV", &s);
    EXPECT_EQ("Loading sound Stereo.WAV\n", said);
    EXPECT_EQ(2, s.channels);
    EXPECT_EQ(16, s.bits);
    EXPECT_EQ(44100u, s.frequency);
    EXPECT_EQ(4000u, s.size);
    EXPECT_EQ(2000u, s.length);
    EXPECT_EQ(512u, s.step);
    EXPECT_EQ(255, s.volume);
    EXPECT_EQ(128, s.panning);
    EXPECT_EQ(0, s.playing);
    ASSERT_NE(nullptr, s.data);
    EXPECT_EQ(0, memcmp(samples.data(), s.data, 4000));
    EXPECT_EQ(1, soundsystem.numsounds);
    Soundsystem_DeleteSound(&s);
}

TEST_F(Wav, SavedSoundLoadsBackTheSame)
{
    Header h;
    h.channels = 1;
    h.bits = 8;
    h.rate = 22050;
    std::vector<uint8_t> samples = Ramp(777);
    Write("in.wav", WavFile(h, samples));
    Mount();
    s_sound in{}, back{};
    Load("in.wav", &in);
    ASSERT_EQ(777u, in.size);
    EXPECT_EQ(1, Soundsystem_SaveSound("out.wav", &in));
    Load("out.wav", &back);
    EXPECT_EQ(in.channels, back.channels);
    EXPECT_EQ(in.bits, back.bits);
    EXPECT_EQ(in.frequency, back.frequency);
    EXPECT_EQ(in.size, back.size);
    EXPECT_EQ(in.length, back.length);
    ASSERT_NE(nullptr, back.data);
    EXPECT_EQ(0, memcmp(samples.data(), back.data, samples.size()));

    // The file itself is a canonical header plus the samples.
    FILE *f = fopen((dir + "/out.wav").c_str(), "rb");
    ASSERT_NE(nullptr, f);
    std::vector<uint8_t> bytes(2000);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    fclose(f);
    EXPECT_EQ(WavFile(h, samples), bytes);
    Soundsystem_DeleteSound(&in);
    Soundsystem_DeleteSound(&back);
}

TEST_F(Wav, BadFilesGiveAMessageAndASilentEmptySound)
{
    std::vector<uint8_t> some = Ramp(400);
    struct Case {
        const char *name;
        std::vector<uint8_t> bytes;
        const char *message;
    };
    Header notriff, notwave, nofmt, notpcm, extrachunk, bits24, nochannels, norate, longer;
    notriff.riff = "RIFX";
    notwave.wave = "AVI ";
    nofmt.fmt = "LIST";
    notpcm.format = 3;
    extrachunk.data = "LIST";
    bits24.bits = 24;
    nochannels.channels = 0;
    norate.rate = 0;
    longer.datasize = 401;
    std::vector<uint8_t> cut = WavFile(Header(), some);
    cut.resize(43);
    const Case cases[] = {
        {"notriff.wav", WavFile(notriff, some), "No WAV file\n"},
        {"notwave.wav", WavFile(notwave, some), "No WAV file\n"},
        {"nofmt.wav", WavFile(nofmt, some), "nofmt.wav: no \"fmt \" chunk"},
        {"notpcm.wav", WavFile(notpcm, some), "Not PCM signed\n"},
        {"extrachunk.wav", WavFile(extrachunk, some), "extrachunk.wav: no \"data\" chunk"},
        {"bits24.wav", WavFile(bits24, some), "bits24.wav: only 8 or 16 bits"},
        {"nochannels.wav", WavFile(nochannels, some), "nochannels.wav: only 1 or 2 channels"},
        {"norate.wav", WavFile(norate, some), "norate.wav: sample rate is 0"},
        {"longer.wav", WavFile(longer, some), "longer.wav: data size is larger than the file"},
        {"cut.wav", cut, "cut.wav: file too short"},
        {"empty.wav", {}, "empty.wav: file too short"},
        {"valid.raw", WavFile(Header(), some), "Loading sound valid.raw\n"}, // not .wav
    };
    for (const Case &c : cases)
        Write(c.name, c.bytes);
    Mount();

    std::vector<int16_t> out(2 * 2048);
    for (const Case &c : cases) {
        s_sound s{};
        std::string said = Load(c.name, &s);
        EXPECT_NE(std::string::npos, said.find(c.message)) << c.name << ": " << said;
        EXPECT_EQ(nullptr, s.data) << c.name;
        EXPECT_EQ(0u, s.size) << c.name;
        EXPECT_EQ(0u, s.length) << c.name;
        EXPECT_EQ(0u, s.step) << c.name;
        Soundsystem_PlaySound(&s, 1);
        audiodriver_mixbuffers(out.data(), (int)(out.size() * 2), 0);
        EXPECT_EQ(0, s.playing) << c.name;
        EXPECT_EQ(0, out[0]) << c.name;
    }
}

TEST_F(Wav, ParserStaysInsideItsInput)
{
    // Every prefix of a valid file either parses whole or is refused.
    std::vector<uint8_t> file = WavFile(Header(), Ramp(64));
    for (size_t n = 0; n <= file.size(); n++) {
        std::vector<uint8_t> prefix(file.begin(), file.begin() + n);
        s_wavinfo info;
        e_waverror e = wav_parse(prefix.data(), prefix.size(), &info);
        if (n < 44)
            EXPECT_EQ(WAV_TRUNCATED, e) << n;
        else if (n < file.size())
            EXPECT_EQ(WAV_SHORTDATA, e) << n;
        else
            EXPECT_EQ(WAV_OK, e);
    }
}

} // namespace
