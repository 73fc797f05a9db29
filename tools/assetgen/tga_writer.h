// tga_writer: encodes a canvas as a TGA file in one of the layouts the
// engine's loader reads, so every decoding path serves a real picture.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/image.h"

struct TgaFormat {
    int bpp = 24;          // 8 (colour-mapped, 24-bit map), 24 (magenta key) or 32 (alpha)
    bool rle = false;      // run-length packed
    bool topdown = false;  // first row on top instead of at the bottom
    std::string id;        // identification field, may be empty
};

// "cmap8", "rgb24", "rgba32" with optional "-rle", and "top"/"bottom".
bool ParseTgaFormat(const std::string &encoding, const std::string &origin, TgaFormat *format);

// False with a reason when the picture cannot be stored faithfully:
// more than 256 colours for a colour map, or an opaque colour the loader
// would take for the transparent key.
bool EncodeTGA(const Image &img, const TgaFormat &format, std::vector<uint8_t> *out, std::string *error);
