// Builds TGA files byte by byte for the decoder, bitmap, sprite and font
// tests, so every case states exactly what is in the file.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

struct TgaFile {
    std::vector<uint8_t> bytes;

    TgaFile &u8(int v)
    {
        bytes.push_back((uint8_t)v);
        return *this;
    }
    TgaFile &u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    TgaFile &raw(std::initializer_list<int> values)
    {
        for (int v : values)
            u8(v);
        return *this;
    }
    // 0x00RRGGBB as the file stores it: blue, green, red.
    TgaFile &bgr(uint32_t rgb) { return u8(rgb & 0xFF).u8((rgb >> 8) & 0xFF).u8((rgb >> 16) & 0xFF); }
    // 0xAARRGGBB as blue, green, red, alpha.
    TgaFile &bgra(uint32_t argb) { return bgr(argb).u8(argb >> 24); }
};

struct TgaHeader {
    int type = 2;
    int width = 1;
    int height = 1;
    int bpp = 24;
    int descriptor = 0x20;  // top-left origin unless a test says otherwise
    int maptype = 0;
    int mapfirst = 0;
    int maplength = 0;
    int mapbits = 0;
    int idlength = 0;
};

inline TgaFile tgaheader(const TgaHeader &h)
{
    TgaFile f;
    f.u8(h.idlength).u8(h.maptype).u8(h.type);
    f.u16(h.mapfirst).u16(h.maplength).u8(h.mapbits);
    f.u16(0).u16(0);  // origin, unused
    f.u16(h.width).u16(h.height).u8(h.bpp).u8(h.descriptor);
    return f;
}
