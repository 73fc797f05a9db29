// Bitmap fonts: finding glyph edges from the marker row of a font image,
// cutting the glyphs into sprites, and drawing printf-style text.
//
// Depends on bitmaps and sprites, and on the current framebuffer's width
// for centred text.
#include "engine/graphics/font.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/graphics/framebuffer.h"

s_bitmap vxe_fontbmp[VXE_MAXFONTS];
int vxe_numfonts;

namespace {

// Glyphs the text operations draw: the space (1) to the vertical bar (93).
const int kFirstGlyph = 1;
const int kLastGlyph = 93;
const int kTextCapacity = 256;

// Glyph index of a character; codes 128 to 255 count as negative.
inline int glyphof(char c)
{
    return (signed char)c - 31;
}

inline bool drawable(int g)
{
    return g >= kFirstGlyph && g <= kLastGlyph;
}

int measure(const s_font &font, const char *text)
{
    int total = 0;
    for (const char *c = text; *c; c++) {
        int g = glyphof(*c);
        if (drawable(g))
            total += font.widths[g] + font.spacing;
    }
    return total;
}

// Draws text from (x, y). The space gets no extra spacing unless every
// glyph is to advance as measure() counts it.
void drawstring(int x, int y, const s_font &font, const char *text, bool asmeasured)
{
    for (const char *c = text; *c; c++) {
        int g = glyphof(*c);
        if (!drawable(g))
            continue;
        VXE_DrawSprite(x, y, font.letters[g]);
        x += font.widths[g];
        if (g != 1 || asmeasured)
            x += font.spacing;
    }
}

inline bool marker(const s_bitmap &image, int x)
{
    return (unsigned)VXE_GetPixel(x, 0, image) >> 24;
}

}  // namespace

// Every marker ends the glyph before it. Past the last slot the widths of
// further glyphs overwrite one another there.
// Column 0 is glyph 0's own column, so a glyph edge is always there and a
// marker on it adds none. Taking it as an edge would give glyph 1 a width
// of 0 - 1 (255 as a byte) and move every later glyph one place on.
int VXE_ScanFontMarkers(const s_bitmap &image, unsigned char widths[VXE_FONTGLYPHS])
{
    memset(widths, 0, VXE_FONTGLYPHS);
    widths[0] = 1;
    int g = 1, edge = 1;
    for (int x = 1; x < image.width; x++) {
        if (marker(image, x)) {
            widths[g] = (unsigned char)(x - edge);
            if (g < VXE_FONTGLYPHS - 1)
                g++;
            edge = x;
        }
    }
    widths[g] = (unsigned char)(image.width > edge ? image.width - edge : 0);
    return g + 1;
}

// A font whose image cannot be loaded stays empty (no glyphs, zero widths)
// and takes no table entry, so drawing with it draws nothing.
void VXE_LoadFont(const char *name, s_font *font)
{
    memset(font, 0, sizeof *font);
    if (vxe_numfonts >= VXE_MAXFONTS) {
        printf("VXE_LoadFont - font table full (%d), %s not loaded\n", VXE_MAXFONTS, name);
        return;
    }
    s_bitmap *image = &vxe_fontbmp[vxe_numfonts];
    if (!VXE_LoadBitmap(name, image))
        return;
    font->bitmap = image;

    font->numletters = VXE_ScanFontMarkers(*image, font->widths);
    if (marker(*image, 0))
        printf("VXE_LoadFont - %s: marker in column 0 ignored\n", name);
    font->height = image->height - 1;
    font->spacing = 0;
    printf("VXE_LoadFont - Num.Letters: %d\n", font->numletters);

    int column = 0;
    for (int i = 0; i < font->numletters; i++) {
        VXE_GetSprite(column, 1, font->widths[i], image->height - 1, *image, &font->letters[i]);
        column += font->widths[i];
    }
    vxe_numfonts++;
    printf("VXE_LoadFont - Font Added (NumFonts: %d)\n", vxe_numfonts);
}

void VXE_LoadDarkFont(const char *name, s_font *font)
{
    VXE_LoadFont(name, font);
}

void VXE_DeleteFont(s_font *)
{
}

void VXE_SetFontSpacing(int spacing, s_font *font)
{
    font->spacing = spacing;
}

void VXE_DrawText(int x, int y, s_font font, const char *format, ...)
{
    char text[kTextCapacity];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    drawstring(x, y, font, text, false);
}

// Measuring counts spacing after spaces too, while drawing does not, so
// text with spaces sits a little left of the exact centre.
void VXE_DrawCenteredText(int y, s_font font, const char *format, ...)
{
    char text[kTextCapacity];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    int x = (VXE_GetFrameBufferWidth() >> 1) - (measure(font, text) >> 1);
    drawstring(x, y, font, text, false);
}

void VXE_DrawCenteredTextXW(int x, int y, int w, s_font font, const char *format, ...)
{
    char text[kTextCapacity];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    drawstring(x + (w >> 1) - (measure(font, text) >> 1), y, font, text, true);
}
