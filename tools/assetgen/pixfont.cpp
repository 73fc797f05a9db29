// pixfont: caption text for the pictures.
#include "tools/assetgen/pixfont.h"

#include <cstdio>

static const Image *Glyph(const PixFont &font, char c)
{
    for (const PixelMap &m : font.glyphs)
        if (m.name.size() == 1 && m.name[0] == c)
            return &m.image;
    return nullptr;
}

bool LoadPixFont(const std::string &path, PixFont *font)
{
    if (!ReadPixelMaps(path, &font->glyphs))
        return false;
    for (const PixelMap &m : font->glyphs)
        font->height = m.image.h > font->height ? m.image.h : font->height;
    return !font->glyphs.empty();
}

// A space is two columns wide plus the usual gap; unknown characters are
// reported once so a caption never loses a letter silently.
static int Advance(const PixFont &font, char c)
{
    if (c == ' ')
        return 3;
    const Image *g = Glyph(font, c);
    if (!g) {
        fprintf(stderr, "assetgen: the small font has no '%c'\n", c);
        return 0;
    }
    return g->w + 1;
}

int TextWidth(const PixFont &font, const std::string &text, int scale)
{
    int w = 0;
    for (char c : text)
        w += Advance(font, c);
    return text.empty() ? 0 : (w - 1) * scale;
}

int DrawPixText(Image &img, const PixFont &font, int x, int y, const std::string &text, uint32_t colour, int scale)
{
    for (char c : text) {
        const Image *g = c == ' ' ? nullptr : Glyph(font, c);
        if (g)
            for (int j = 0; j < g->h * scale; j++)
                for (int i = 0; i < g->w * scale; i++)
                    if (g->px[(size_t)(j / scale) * g->w + i / scale] >> 24)
                        PutPx(img, x + i, y + j, colour);
        x += Advance(font, c) * scale;
    }
    return x;
}
