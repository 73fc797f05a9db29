// Builds TGA files byte by byte, so every test states exactly what the file holds.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct TgaFile {
    std::vector<uint8_t> bytes;

    TgaFile &u8(int v) { bytes.push_back((uint8_t)v); return *this; }
    TgaFile &u16(int v) { return u8(v).u8(v >> 8); }
    TgaFile &raw(std::initializer_list<int> v) { bytes.insert(bytes.end(), v.begin(), v.end()); return *this; }
    // 0x00RRGGBB as the file stores it: blue, green, red (then alpha).
    TgaFile &bgr(uint32_t rgb) { return u8((int)rgb).u8((int)(rgb >> 8)).u8((int)(rgb >> 16)); }
    TgaFile &bgra(uint32_t argb) { return bgr(argb).u8((int)(argb >> 24)); }
    std::string str() const { return std::string(bytes.begin(), bytes.end()); }
};

// The 18-byte header; a colour map is declared when its entries have bits.
inline TgaFile tga(int type, int width, int height, int bpp, int descriptor = 0x20, int mapfirst = 0,
                   int maplength = 0, int mapbits = 0, int idlength = 0)
{
    TgaFile f;
    f.u8(idlength).u8(mapbits != 0).u8(type).u16(mapfirst).u16(maplength).u8(mapbits);
    return f.u16(0).u16(0).u16(width).u16(height).u8(bpp).u8(descriptor);
}
