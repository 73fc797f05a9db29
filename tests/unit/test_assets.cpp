// The built archive: every picture decodes with the engine's TGA decoder
// and fits the way the program cuts and places it; every sound parses and
// has the format and length the program expects; the build is repeatable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "engine/sound/wav.h"
#include "tests/unit/asset_reader.h"

class Assets : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(MountArchive()) << FLOXA_DAT; }
    static void TearDownTestSuite() { corefile_closeimage(); }
};

// Block sheets: 16 tiles of 8x8. Normal and red tiles have a gap in their
// last column and row so neighbouring sectors stay apart; filled tiles are
// solid. Tiles 1-15 rise in brightness.
TEST_F(Assets, BlockSheetsFitTheCuttingRule)
{
    for (const char *name : {"blocks.tga", "blocksred.tga", "blocksfill.tga"}) {
        SCOPED_TRACE(name);
        DecodedPicture p = LoadPicture(name);
        ASSERT_TRUE(p.ok);
        ASSERT_EQ(128, p.width);
        ASSERT_EQ(8, p.height);
        const bool filled = std::string(name) == "blocksfill.tga";
        int previous = -1;
        for (int t = 0; t < 16; t++) {
            int sum = 0;
            for (int y = 0; y < 8; y++)
                for (int x = 0; x < 8; x++) {
                    ASSERT_EQ(255, p.alpha(8 * t + x, y));
                    sum += p.luma(8 * t + x, y);
                    if (filled) {
                        EXPECT_EQ(p.at(8 * t, 0), p.at(8 * t + x, y)) << "tile " << t << " not solid";
                    }
                }
            if (!filled) {
                for (int i = 0; i < 8; i++) {
                    EXPECT_EQ(p.at(7, 7), p.at(8 * t + 7, i)) << "tile " << t << " gap column";
                    EXPECT_EQ(p.at(7, 7), p.at(8 * t + i, 7)) << "tile " << t << " gap row";
                }
                EXPECT_NE(p.at(7, 7), p.at(8 * t + 3, 3)) << "tile " << t << " vanishes into its gap";
            }
            if (t >= 1) {
                EXPECT_GT(sum, previous) << "tile " << t << " is not brighter than tile " << t - 1;
            }
            previous = sum;
        }
    }
}

// Digits: ten glyphs 7 wide at an 8-pixel pitch, 8 high. Column 7 of each
// cell is empty so the 7-wide cut loses nothing; no two digits look alike.
TEST_F(Assets, DigitStripFitsTheCuttingRule)
{
    DecodedPicture p = LoadPicture("floxanumbers.tga");
    ASSERT_TRUE(p.ok);
    ASSERT_GE(p.width, 80);
    ASSERT_EQ(8, p.height);
    std::set<std::vector<int>> shapes;
    for (int d = 0; d < 10; d++) {
        std::vector<int> shape;
        for (int y = 0; y < 8; y++) {
            EXPECT_EQ(0, p.alpha(8 * d + 7, y)) << "digit " << d << " spills into the gap";
            for (int x = 0; x < 7; x++)
                shape.push_back(p.alpha(8 * d + x, y) > 0);
        }
        EXPECT_GT(std::count(shape.begin(), shape.end(), 1), 8) << "digit " << d;
        shapes.insert(shape);
    }
    EXPECT_EQ(10u, shapes.size());
}

// Bezel: fills the whole monitor; the screen rectangle is dark glass and
// the plastic around it is lit.
TEST_F(Assets, BezelLeavesTheScreenOpeningFree)
{
    DecodedPicture p = LoadPicture("crt2048.tga");
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(2048, p.width);
    ASSERT_EQ(1152, p.height);
    int glass_max = 0, plastic_min = 255, transparent = 0;
    for (int y = 0; y < 1152; y++)
        for (int x = 0; x < 2048; x++) {
            transparent += p.alpha(x, y) != 255;
            const bool opening = x >= 440 && x < 1600 && y >= 128 && y < 908;
            // Plastic: everything more than the glass margin and bevel away.
            const bool plastic = x < 360 || x >= 1680 || y < 48 || (y >= 988 && (x < 700 || x > 1340));
            if (opening)
                glass_max = std::max(glass_max, p.luma(x, y));
            if (plastic)
                plastic_min = std::min(plastic_min, p.luma(x, y));
        }
    EXPECT_EQ(0, transparent);
    EXPECT_LT(glass_max, 48) << "something bright inside the screen opening";
    EXPECT_GT(plastic_min, 90) << "the bezel has dark holes";
}

// The copier screen and the single sprites: sizes the layout relies on,
// transparent backgrounds where the program draws over its own pictures.
TEST_F(Assets, ScreenAndSpritesHaveTheirSizes)
{
    struct Want { const char *name; int w, h; bool keyed; } wants[] = {
        {"floxa2019_empty.tga", 320, 200, false}, {"cursor.tga", 8, 8, true},
        {"lamp_on.tga", 6, 4, false}, {"lamp_off.tga", 6, 4, false}, {"toggle_on.tga", 6, 6, true},
        {"disk.tga", 28, 26, false}, {"0.tga", 5, 7, true}, {"1.tga", 5, 7, true},
        {"2.tga", 5, 7, true}, {"3.tga", 5, 7, true},
    };
    for (const Want &w : wants) {
        SCOPED_TRACE(w.name);
        DecodedPicture p = LoadPicture(w.name);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(w.w, p.width);
        EXPECT_EQ(w.h, p.height);
        int clear = 0;
        for (uint32_t c : p.rgba)
            clear += (c >> 24) == 0;
        if (w.keyed) {
            EXPECT_GT(clear, 0);
        } else {
            EXPECT_EQ(0, clear);
        }
    }
    DecodedPicture cursor = LoadPicture("cursor.tga");
    EXPECT_EQ(255, cursor.alpha(0, 0)) << "the arrow's tip is its hot spot";
    DecodedPicture on = LoadPicture("lamp_on.tga"), off = LoadPicture("lamp_off.tga");
    EXPECT_GT(on.luma(2, 1), off.luma(2, 1) + 60);
}

// Between them the pictures use every way the loader decodes: colour-mapped,
// 24-bit keyed, 32-bit alpha; plain and run-length packed; both origins.
TEST_F(Assets, PicturesCoverEveryDecodingPath)
{
    std::set<std::tuple<int, int, int>> seen;
    const char *names[] = {"floxa2019_empty.tga", "blocks.tga", "blocksred.tga", "blocksfill.tga",
                           "floxanumbers.tga", "crt2048.tga", "cursor.tga", "lamp_on.tga", "lamp_off.tga",
                           "toggle_on.tga", "disk.tga", "0.tga", "1.tga", "2.tga", "3.tga"};
    std::set<int> bpps, packed, origins;
    bool keyed24 = false;
    for (const char *name : names) {
        DecodedPicture p = LoadPicture(name);
        ASSERT_TRUE(p.ok) << name;
        const int bpp = p.file[16], type = p.file[2], origin = p.file[17] & 0x30;
        bpps.insert(bpp);
        packed.insert(type >= 8);
        origins.insert(origin);
        if (bpp == 24)
            for (uint32_t c : p.rgba)
                keyed24 = keyed24 || c == 0;
    }
    EXPECT_EQ((std::set<int>{8, 24, 32}), bpps);
    EXPECT_EQ((std::set<int>{0, 1}), packed);
    EXPECT_EQ((std::set<int>{0x00, 0x20}), origins);
    EXPECT_TRUE(keyed24) << "no 24-bit picture uses the magenta key";
}

namespace {

std::vector<int> Samples(const s_wavinfo &w)
{
    std::vector<int> s;
    const int step = w.bits / 8 * w.channels;
    for (uint32_t i = 0; i + step <= w.size; i += step)
        s.push_back(w.bits == 16 ? (int16_t)(w.samples[i] | w.samples[i + 1] << 8) : (w.samples[i] - 128) * 256);
    return s;
}

} // namespace

TEST_F(Assets, SoundsHaveTheirFormatsAndLengths)
{
    struct Want { const char *name; double min_s, max_s; } wants[] = {
        {"flop3.wav", 30.72, 30.72}, {"flop1read.wav", 0.2, 0.5}, {"flop2sound.wav", 0.7, 1.3},
        {"floxafinished.wav", 1.0, 2.0}, {"click.wav", 0.01, 0.1},
    };
    std::set<int> bits, rates;
    for (const Want &w : wants) {
        SCOPED_TRACE(w.name);
        std::vector<uint8_t> file = ReadEntry(w.name);
        s_wavinfo info = {};
        ASSERT_EQ(WAV_OK, wav_parse(file.data(), file.size(), &info));
        EXPECT_EQ(1, info.channels) << "the mixer plays only the first channel";
        bits.insert(info.bits);
        rates.insert((int)info.frequency);
        std::vector<int> s = Samples(info);
        const double seconds = (double)s.size() / info.frequency;
        EXPECT_GE(seconds, w.min_s - 1e-9);
        EXPECT_LE(seconds, w.max_s + 1e-9);
        int peak = 0;
        for (int v : s)
            peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_LT(peak, 32767) << "clipped";
    }
    EXPECT_TRUE(bits.count(8) && bits.count(16));
    EXPECT_TRUE(rates.count(22050) && rates.count(44100));
}

// The loop restarts without a click: the step from the last sample to the
// first is no larger than the ordinary steps inside the loop.
TEST_F(Assets, MusicLoopsWithoutAClick)
{
    std::vector<uint8_t> file = ReadEntry("flop3.wav");
    s_wavinfo info = {};
    ASSERT_EQ(WAV_OK, wav_parse(file.data(), file.size(), &info));
    ASSERT_EQ(16, info.bits);
    ASSERT_EQ(44100u, info.frequency);
    std::vector<int> s = Samples(info);
    ASSERT_EQ(1354752u, s.size()) << "16 bars at 125 BPM";
    std::vector<int> steps;
    for (size_t i = 1; i < s.size(); i++)
        steps.push_back(std::abs(s[i] - s[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    const int p99 = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::abs(s.front() - s.back()), p99);
}

// Two builds from the same sources give the same bytes.
TEST(AssetBuild, IsRepeatable)
{
    const std::string dir = ::testing::TempDir() + "assets_repeat";
    std::string cmd = "rm -rf " + dir + " && mkdir -p " + dir + "/a " + dir + "/b";
    for (const char *side : {"a", "b"})
        cmd += std::string(" && " ASSETGEN " --src " FLOXA_SOURCE "/assets --out ") + dir + "/" + side +
               " && " COREPACK " create " + dir + "/" + side + ".dat " + dir + "/" + side + " > /dev/null";
    ASSERT_EQ(0, std::system(cmd.c_str()));
    auto bytes = [](const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    };
    const std::vector<char> a = bytes(dir + "/a.dat"), b = bytes(dir + "/b.dat");
    EXPECT_GT(a.size(), 1000000u);
    EXPECT_TRUE(a == b) << "two archives from the same sources differ";
    std::system(("rm -rf " + dir).c_str());
}
