// WAV files written to a folder, mounted as a directory and loaded
// and saved through the virtual file system.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "engine/corefile/corefile.h"
#include "sound_fixture.h"

namespace {

// A canonical header, built here by hand, and PAYLOAD bytes of a ramp.
std::vector<uint8_t> WavFile(uint32_t channels, uint32_t bits, uint32_t rate, uint32_t payload)
{
    uint32_t align = channels * bits / 8;
    const uint32_t header[11] = {0, 36 + payload, 0, 0, 16, 1 | channels << 16, rate, rate * align,
                                 align | bits << 16, 0, payload};
    std::vector<uint8_t> b(44 + payload);
    memcpy(&b[0], header, 44); // the host is little-endian, as the file
    memcpy(&b[0], "RIFF", 4);
    memcpy(&b[8], "WAVEfmt ", 8);
    memcpy(&b[36], "data", 4);
    for (uint32_t i = 0; i < payload; i++)
        b[44 + i] = (uint8_t)(i * 7 + i / 256);
    return b;
}

// The files go to a folder in the build folder, emptied for each test.
struct Wav : SoundTest {
    std::string said; // what the last Load printed

    Wav() { EXPECT_EQ(0, system("rm -rf wav_files && mkdir wav_files")); }
    ~Wav() override { corefile_closeimage(); }
    // Writes the file and mounts the folder again, so it is seen.
    void Write(const std::string &name, const std::vector<uint8_t> &bytes)
    {
        std::ofstream("wav_files/" + name, std::ios::binary).write((const char *)bytes.data(), bytes.size());
        ASSERT_EQ(1, corefile_mountimage("wav_files", COREFILE_KIND_DIRECTORY));
    }
    s_sound *Load(const char *name)
    {
        sounds.emplace_back();
        testing::internal::CaptureStdout();
        Soundsystem_LoadSound(name, &sounds.back());
        said = testing::internal::GetCapturedStdout();
        return &sounds.back();
    }
};

// A good file loads with its format and samples; saved, it is the same
// file byte for byte, so the fields the loader skips are right too.
TEST_F(Wav, LoadsAndSavesBackTheSame)
{
    for (auto [channels, bits, rate, payload] : {std::tuple{2u, 16u, 44100u, 4000u}, {2u, 8u, 22050u, 778u}}) {
        const std::vector<uint8_t> file = WavFile(channels, bits, rate, payload);
        Write("in.wav", file);
        s_sound *s = Load("In.WAV");
        EXPECT_EQ("Loading sound In.WAV\n", said);
        ASSERT_EQ(std::make_tuple((int)channels, (int)bits, rate, payload * 8 / bits, payload),
                  std::make_tuple(s->channels, s->bits, s->frequency, s->length, s->size));
        EXPECT_EQ(0, memcmp(&file[44], s->data, payload));
        ASSERT_EQ(1, Soundsystem_SaveSound("out.wav", s));
        std::ifstream saved("wav_files/out.wav", std::ios::binary);
        EXPECT_EQ(file, std::vector<uint8_t>(std::istreambuf_iterator<char>(saved), {}));
    }
}

TEST_F(Wav, BadFilesGiveAMessageAndASilentEmptySound)
{
    // A valid file with BYTES of PATCH written at AT, or without a patch cut
    // to AT bytes; SAYS is all that follows the "Loading sound" line.
    const struct {
        const char *name, *patch, *says;
        size_t at, bytes;
    } rows[] = {
        {"notriff.wav", "RIFX", "No WAV file", 0, 4}, // no line end
        {"notwave.wav", "WAVF", "No WAV file", 8, 4},
        {"nofmt.wav", "LIST", "nofmt.wav: no \"fmt \" chunk at offset 12\n", 12, 4},
        {"notpcm.wav", "\3", "Not PCM signed", 20, 2},
        {"extrachunk.wav", "LIST", "extrachunk.wav: no \"data\" chunk at offset 36 (extra chunks are not read)\n", 36, 4},
        {"bits24.wav", "\x18", "bits24.wav: only 8 or 16 bits per sample are played\n", 34, 2},
        {"nochannels.wav", "\0", "nochannels.wav: only 1 or 2 channels are played\n", 22, 2},
        {"norate.wav", "\0\0\0", "norate.wav: sample rate is 0 or too high\n", 24, 4},
        {"longer.wav", "\x91\1", "longer.wav: data size is larger than the file holds\n", 40, 2},
        {"cut.wav", nullptr, "cut.wav: file too short for a WAV header (44 bytes)\n", 43, 0},
        {"empty.wav", nullptr, "empty.wav: file too short for a WAV header (44 bytes)\n", 0, 0},
    };
    for (const auto &r : rows) {
        std::vector<uint8_t> file = WavFile(2, 16, 44100, 400);
        if (r.patch)
            memcpy(&file[r.at], r.patch, r.bytes);
        else
            file.resize(r.at);
        Write(r.name, file);
        s_sound *s = Load(r.name);
        EXPECT_EQ(std::string("Loading sound ") + r.name + "\n" + r.says, said);
        EXPECT_TRUE(!s->data && !s->size && !s->length && !s->step) << r.name;
        Soundsystem_PlaySound(s, 1);
        Mix();
        EXPECT_EQ(0, s->playing) << r.name;
        EXPECT_EQ(0, Left(0)) << r.name;
    }
}

} // namespace
