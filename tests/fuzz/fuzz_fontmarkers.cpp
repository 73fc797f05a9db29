// The font marker scan on arbitrary pictures: the input is decoded as the
// TGA file a font is loaded from, and the scan runs on what the decoder
// accepts. Every glyph must be cut from inside the picture, and the glyph
// count must follow the markers: one per marker after glyph 0's column,
// plus glyphs 0 and 1, at most 96.
#include <cstdint>
#include <cstdlib>

#include "engine/graphics/font.h"
#include "engine/graphics/tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    s_tgaimage image;
    if (!VXE_DecodeTGA(data, size, &image)) {
        if (image.pixels) abort();  // a refusal holds nothing
        return 0;
    }
    s_bitmap bitmap{};
    bitmap.width = bitmap.texwidth = image.width;
    bitmap.height = bitmap.texheight = image.height;
    bitmap.pixels = image.pixels;

    unsigned char widths[VXE_FONTGLYPHS];
    int glyphs = VXE_ScanFontMarkers(bitmap, widths);
    int markers = 0;
    for (int x = 1; x < image.width; x++)
        markers += (unsigned)VXE_GetPixel(x, 0, bitmap) >> 24 != 0;
    int columns = 0;
    for (int g = 0; g < glyphs; g++)
        columns += widths[g];
    int expected = markers + 2 < VXE_FONTGLYPHS ? markers + 2 : VXE_FONTGLYPHS;
    if (glyphs != expected || widths[0] != 1 || columns > image.width)
        abort();
    VXE_FreeTGA(&image);
    return 0;
}
