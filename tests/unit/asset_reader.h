// Test helper: entries of the built floxa.dat, read through the engine's
// file system and decoded with the engine's own TGA decoder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/corefile/corefile.h"
#include "engine/tga.h"

struct DecodedPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgba;  // bytes R, G, B, A in memory order
    std::vector<uint8_t> file;
    bool ok = false;
    uint32_t at(int x, int y) const { return rgba[(size_t)y * width + x]; }
    int alpha(int x, int y) const { return (int)(at(x, y) >> 24); }
    int luma(int x, int y) const
    {
        const uint32_t p = at(x, y);
        return ((int)(p & 255) * 3 + (int)((p >> 8) & 255) * 6 + (int)((p >> 16) & 255)) / 10;
    }
};

inline bool MountArchive()
{
    return corefile_mountimage(FLOXA_DAT, COREFILE_KIND_ARCHIVE) == 1;
}

inline std::vector<uint8_t> ReadEntry(const char *name)
{
    s_corefile f = {};
    std::vector<uint8_t> bytes;
    if (!corefile_open(name, &f, 0))
        return bytes;
    bytes.resize(f.size);
    if (f.size && corefile_read(bytes.data(), 1, f.size, &f) != f.size)
        bytes.clear();
    corefile_close(&f);
    return bytes;
}

inline DecodedPicture LoadPicture(const char *name)
{
    DecodedPicture pic;
    pic.file = ReadEntry(name);
    s_tgaimage img = {};
    if (pic.file.empty() || !VXE_DecodeTGA(pic.file.data(), pic.file.size(), &img))
        return pic;
    pic.width = img.width;
    pic.height = img.height;
    pic.rgba.resize((size_t)img.width * img.height);
    for (size_t i = 0; i < pic.rgba.size(); i++)
        pic.rgba[i] = (uint32_t)img.pixels[4 * i] | (uint32_t)img.pixels[4 * i + 1] << 8 |
                      (uint32_t)img.pixels[4 * i + 2] << 16 | (uint32_t)img.pixels[4 * i + 3] << 24;
    VXE_FreeTGA(&img);
    pic.ok = true;
    return pic;
}
