// The built archive: every picture decodes with the engine's TGA decoder
// and fits the way the program cuts and places it; every sound parses and
// has the format and length the program expects; the build is repeatable.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "engine/sound/wav.h"
#include "tests/unit/asset_reader.h"

using Assets = ArchiveTest;

// Each picture has its size and transparency; between them they use every
// way the loader decodes: 8/24/32 bits, plain and packed, both origins.
TEST_F(Assets, PicturesDecodeAndCoverEveryLoaderPath)
{
    const struct { const char *name; int w, h; bool keyed; } pictures[] = {
        {"floxa2019_empty.tga", 320, 200, false}, {"blocks.tga", 128, 8, false}, {"blocksred.tga", 128, 8, false},
        {"blocksfill.tga", 128, 8, false}, {"floxanumbers.tga", 80, 8, true}, {"crt2048.tga", 2048, 1152, false},
        {"cursor.tga", 8, 8, true}, {"lamp_on.tga", 6, 4, false}, {"lamp_off.tga", 6, 4, false},
        {"toggle_on.tga", 6, 6, true}, {"disk.tga", 28, 26, false}, {"0.tga", 5, 7, true},
        {"1.tga", 5, 7, true}, {"2.tga", 5, 7, true}, {"3.tga", 5, 7, true},
    };
    std::set<std::string> paths;
    for (const auto &want : pictures) {
        SCOPED_TRACE(want.name);
        const DecodedPicture p = LoadPicture(want.name);
        ASSERT_FALSE(p.rgba.empty());
        EXPECT_TRUE(p.width == want.w && p.height == want.h) << p.width << "x" << p.height;
        int clear = 0, opaque = 0;
        for (uint32_t c : p.rgba)
            clear += c >> 24 == 0, opaque += c >> 24 == 255;
        EXPECT_TRUE(want.keyed ? clear > 0 : opaque == (int)p.rgba.size()) << clear << " clear, " << opaque << " opaque";
        const int bpp = p.file[16];
        paths.insert({std::to_string(bpp), p.file[2] >= 8 ? "rle" : "plain", p.file[17] & 0x20 ? "top" : "bottom"});
        if (bpp == 24 && clear > 0)
            paths.insert("key");
    }
    EXPECT_EQ((std::set<std::string>{"8", "24", "32", "plain", "rle", "top", "bottom", "key"}), paths);
}

// Ten glyphs 7 wide at an 8-pixel pitch: column 7 of each cell is empty so
// the 7-wide cut loses nothing, and no two digits look alike.
TEST_F(Assets, DigitStripCutsIntoTenDistinctGlyphs)
{
    const DecodedPicture p = LoadPicture("floxanumbers.tga");
    ASSERT_TRUE(p.width >= 80 && p.height == 8);
    std::set<uint64_t> shapes;
    for (int d = 0; d < 10; d++) {
        uint64_t shape = 0;
        for (int i = 0; i < 64; i++)
            shape = shape << 1 | (p.alpha(8 * d + i % 8, i / 8) > 0);
        EXPECT_EQ(0u, shape & 0x0101010101010101u) << "digit " << d << " spills into the gap";
        EXPECT_GT(__builtin_popcountll(shape), 8) << "digit " << d << " is nearly empty";
        shapes.insert(shape);
    }
    EXPECT_EQ(10u, shapes.size()) << "two digits look alike";
}

// The screen opening at (440, 128), 1160x780, is dark glass; the plastic
// around it is lit.
TEST_F(Assets, BezelLeavesTheScreenOpeningFree)
{
    const DecodedPicture p = LoadPicture("crt2048.tga");
    ASSERT_TRUE(p.width == 2048 && p.height == 1152);
    EXPECT_EQ(0, p.lit(440, 128, 1160, 780, 480)) << "something bright inside the screen opening";
    // The plastic clear of the glass margin and bevel, and beside the badge.
    const int plastic[][4] = {{0, 0, 360, 1152}, {1680, 0, 368, 1152}, {0, 0, 2048, 48}, {0, 988, 700, 164}, {1341, 988, 707, 164}};
    for (const auto &r : plastic)
        EXPECT_EQ(r[2] * r[3], p.lit(r[0], r[1], r[2], r[3], 901)) << "the bezel has dark holes at " << r[0] << "," << r[1];
}

// Every sound parses as mono; between them they use both sample sizes and
// both rates the mixer converts.
TEST_F(Assets, SoundsHaveTheirFormats)
{
    std::set<int> bits, rates;
    for (const char *name : {"flop3.wav", "flop1read.wav", "flop2sound.wav", "floxafinished.wav", "click.wav"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> file = ReadEntry(name);
        s_wavinfo info = {};
        ASSERT_EQ(WAV_OK, wav_parse(file.data(), file.size(), &info));
        EXPECT_EQ(1, info.channels) << "the mixer plays only the first channel";
        bits.insert(info.bits);
        rates.insert((int)info.frequency);
    }
    EXPECT_EQ((std::set<int>{8, 16}), bits);
    EXPECT_EQ((std::set<int>{22050, 44100}), rates);
}

// The archive depends only on the sources.
TEST(AssetBuild, TwoRunsWriteTheSameFiles)
{
    // A folder of its own: another build's tests may run this one at the same time.
    char folder[] = "/tmp/assets_repeatXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    const std::string d = std::string(folder) + "/";
    const std::string run = " && " ASSETGEN " --src " FLOXA_SOURCE "/assets --out " + d;
    EXPECT_EQ(0, std::system(("rm -rf " + d + " && mkdir -p " + d + "a " + d + "b" + run + "a" + run + "b && diff -r " + d +
                              "a " + d + "b").c_str()));
    std::system(("rm -rf " + d).c_str());
}
