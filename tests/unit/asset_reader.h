// Test helper: entries of the built floxa.dat, read through the engine's
// file system and decoded with the engine's own TGA decoder.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/corefile/corefile.h"
#include "engine/graphics/tga.h"

struct DecodedPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgba;  // bytes R, G, B, A in memory order
    std::vector<uint8_t> file;
    uint32_t at(int x, int y) const { return rgba[(size_t)y * width + x]; }
    int alpha(int x, int y) const { return (int)(at(x, y) >> 24); }
    // Brightness 3R + 6G + B, 0-2550: only black is 0.
    int luma(int x, int y) const { return (int)((at(x, y) & 255) * 3 + (at(x, y) >> 8 & 255) * 6 + (at(x, y) >> 16 & 255)); }
    // Pixels of a rectangle at or above a brightness (level 1: all but black).
    int lit(int x0, int y0, int w, int h, int level) const
    {
        int n = 0;
        for (int y = y0; y < y0 + h; y++)
            for (int x = x0; x < x0 + w; x++)
                n += luma(x, y) >= level;
        return n;
    }
};

inline std::vector<uint8_t> ReadEntry(const char *name)
{
    s_corefile f = {};
    if (!corefile_open(name, &f, 0))
        return {};
    std::vector<uint8_t> bytes(f.size);
    const bool whole = corefile_read(bytes.data(), 1, f.size, &f) == f.size;
    corefile_close(&f);
    return whole ? bytes : std::vector<uint8_t>();
}

// Empty rgba when the entry is missing or does not decode.
inline DecodedPicture LoadPicture(const char *name)
{
    DecodedPicture pic;
    pic.file = ReadEntry(name);
    s_tgaimage img = {};
    if (VXE_DecodeTGA(pic.file.data(), pic.file.size(), &img)) {
        pic.width = img.width;
        pic.height = img.height;
        pic.rgba.resize((size_t)img.width * img.height);
        memcpy(pic.rgba.data(), img.pixels, pic.rgba.size() * 4);  // little-endian: R in the low byte
        VXE_FreeTGA(&img);
    }
    return pic;
}

// Mounts the built archive for the tests of a fixture.
class ArchiveTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(1, corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE)) << FLOXA_DAT; }
    static void TearDownTestSuite() { corefile_closeimage(); }
};
